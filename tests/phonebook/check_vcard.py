"""Reads Linkora's vCard exports with an independent parser (vobject).

Usage: check_vcard.py VCARD_SAMPLES_TOOL DATA_DIR
Runs the tool into a temporary folder and checks every file it wrote.
"""
import os
import subprocess
import sys
import tempfile

import vobject


def cards(path):
    with open(path, encoding="utf-8", newline="") as f:
        text = f.read()
    assert "\n" not in text.replace("\r\n", ""), f"{path}: a line break without CR"
    for line in text.split("\r\n"):
        assert len(line.encode("utf-8")) <= 75, f"{path}: line over 75 octets: {line!r}"
    return list(vobject.readComponents(text))


def main():
    tool, data = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as out:
        subprocess.run([tool, data, out], check=True)
        names = sorted(os.listdir(out))
        assert len(names) == 5, names
        for name in names:
            parsed = cards(os.path.join(out, name))
            assert parsed, f"{name}: no card"
            for card in parsed:
                assert card.version.value == "3.0", name
                assert hasattr(card, "fn") and hasattr(card, "x_linkora_slot"), name

        sample = {int(c.x_linkora_slot.value): c for c in cards(os.path.join(out, "sample-handset.vcf"))}
        assert sorted(sample) == [1, 2, 3, 4, 5, 7, 12, 20, 21, 499], sorted(sample)
        first = sample[1]
        assert first.fn.value == "김민준", first.fn.value
        tels = {t.params["TYPE"][0]: t.value for t in first.contents["tel"]}
        assert tels == {"CELL": "0161234567", "HOME": "027771234"}, tels
        assert first.email.value == "minjun@example.com"
        assert first.categories.value == ["가족"], first.categories.value
        assert first.x_linkora_ringtone.value == "84"
        assert first.x_linkora_avatar_parts.value == "3 2 1 2 3 1 1"
        assert sample[499].fn.value == "회사 대표번호"
        assert sample[499].tel.params["TYPE"] == ["WORK"]

        iphone = cards(os.path.join(out, "again-iphone-3.0.vcf"))
        assert [c.fn.value for c in iphone] == ["박지호", "회사 대표번호", "최하은", "John Smith"]
        assert iphone[0].categories.value == ["친구"]
    print("vobject read every exported file")


if __name__ == "__main__":
    main()
