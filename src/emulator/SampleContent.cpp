#include <array>
#include <cstring>
#include <string>
#include <string_view>

#include <fmt/format.h>

#include "common/ByteRecord.h"
#include "common/Cp949.h"
#include "emulator/HandsetState.h"

// The content of a handset started without a state file. Everything here is
// made up for the emulator; the pictures and ringtones are generated.
namespace linkora::emulator {

namespace {

Bytes Cp949(std::string_view utf8) {
  auto bytes = cp949::FromUtf8(utf8);
  return bytes ? *bytes : Bytes{};
}

// Copies a text with its terminating zero into a field of `width` bytes.
void PutText(Bytes& record, std::size_t offset, std::size_t width, std::string_view utf8) {
  Bytes text = Cp949(utf8);
  if (text.size() >= width) {
    text.resize(width - 1);
  }
  std::copy(text.begin(), text.end(), record.begin() + static_cast<std::ptrdiff_t>(offset));
  record[offset + text.size()] = 0;
}

struct Person {
  int slot;
  const char* name;
  int group;
  const char* mobile;
  const char* home;
  const char* office;
  const char* email;
  int ringtone;  // 0 or 84..113
};

void AddPhonebook(HandsetState& s) {
  const std::array<const char*, 6> groupNames = {"", "가족", "친구", "회사", "학교", "동호회"};
  for (int g = 0; g < 20; ++g) {
    Bytes group(27, 0);
    group[0] = static_cast<std::uint8_t>(g);
    if (g > 0 && static_cast<std::size_t>(g) < groupNames.size()) {
      PutText(group, 1, 20, groupNames[static_cast<std::size_t>(g)]);
    }
    s.groups[g] = group;
  }
  const Person people[] = {
      {1, "김민준", 1, "0161234567", "027771234", "", "minjun@example.com", 84},
      {2, "이서연", 2, "0189876543", "", "", "", 0},
      {3, "박지호", 3, "01612340001", "", "0312345678", "jiho.park@example.co.kr", 90},
      {4, "최하은", 2, "0183334444", "", "", "", 0},
      {5, "정도윤", 4, "0165556666", "0515551234", "", "", 101},
      {7, "강서준", 0, "0187778888", "", "", "", 0},
      {12, "윤지우", 5, "0161112222", "", "", "jiwoo@example.net", 113},
      {20, "한예린", 1, "0169990000", "0324448888", "0212345678", "", 0},
      {21, "우리집", 1, "", "027771234", "", "", 0},
      {499, "회사 대표번호", 3, "", "", "0215881234", "", 0},
  };
  for (const Person& p : people) {
    Bytes e(222, 0);
    WriteU16(e, 0, static_cast<std::uint16_t>(p.slot));
    e[3] = static_cast<std::uint8_t>(p.group);
    PutText(e, 10, 20, p.name);
    PutText(e, 30, 50, p.email);
    const char* numbers[] = {p.mobile, p.home, p.office, ""};
    std::uint8_t flags = 0;
    for (std::size_t i = 0; i < 4; ++i) {
      const std::size_t at = 80 + 33 * i;
      const std::size_t length = std::strlen(numbers[i]);
      e[at] = static_cast<std::uint8_t>(length);
      PutText(e, at + 1, 32, numbers[i]);
      if (length > 0) {
        flags |= static_cast<std::uint8_t>(1u << i);
      }
    }
    if (*p.email != 0) {
      flags |= 0x10;
    }
    if (p.group != 0) {
      flags |= 0x20;
    }
    if (p.ringtone != 0) {
      WriteU16(e, 212, static_cast<std::uint16_t>(p.ringtone));
      flags |= 0x80;
    }
    if (p.slot == 1) {
      e[214] = 1;  // an avatar built from seven picture numbers
      const std::uint8_t parts[] = {1, 2, 3, 1, 2, 3, 1};
      std::copy(std::begin(parts), std::end(parts), e.begin() + 215);
      flags |= 0x40;
    }
    s.slotFlags[static_cast<std::size_t>(p.slot)] = flags;
    s.entries[p.slot] = e;
  }
}

void AddCalendar(HandsetState& s) {
  struct Item {
    int year, month, day, hour, minute;
    const char* content;
    const char* place;
    int alarm, ringtone;
  };
  const Item schedules[] = {
      {2026, 12, 8, 10, 0, "주간 회의", "본사 3층 회의실", 1, 84},
      {2026, 12, 15, 19, 30, "송년회", "강남역 2번 출구", 3, 96},
      {2026, 12, 24, 18, 0, "가족 저녁 식사", "우리집", 0, 105},
      {2027, 1, 2, 9, 0, "새해 첫 출근", "", 2, 84},
  };
  const int scheduleCount = static_cast<int>(std::size(schedules));
  for (int i = 0; i < scheduleCount; ++i) {
    const Item& it = schedules[i];
    Bytes r(95, 0);
    r[0] = static_cast<std::uint8_t>(i);
    WriteU16(r, 1, static_cast<std::uint16_t>(it.year));
    r[3] = static_cast<std::uint8_t>(it.month);
    r[4] = static_cast<std::uint8_t>(it.day);
    r[5] = static_cast<std::uint8_t>(it.hour);
    r[6] = static_cast<std::uint8_t>(it.minute);
    PutText(r, 7, 41, it.content);
    PutText(r, 48, 41, it.place);
    r[89] = static_cast<std::uint8_t>(it.alarm);
    r[90] = static_cast<std::uint8_t>(it.ringtone);
    WriteU32(r, 91, i + 1 < scheduleCount ? static_cast<std::uint32_t>(i + 1) : 0);
    s.schedules[i] = r;
  }
  const Item ddays[] = {
      {2026, 12, 25, 0, 0, "크리스마스", "선물 준비하기", 0, 99},
      {2027, 3, 14, 0, 0, "결혼기념일", "꽃다발 예약", 0, 87},
      {2027, 11, 18, 0, 0, "수능", "동생 응원하기", 0, 102},
  };
  const int ddayCount = static_cast<int>(std::size(ddays));
  for (int i = 0; i < ddayCount; ++i) {
    const Item& it = ddays[i];
    Bytes r(92, 0);
    r[0] = static_cast<std::uint8_t>(i);
    WriteU16(r, 1, static_cast<std::uint16_t>(it.year));
    r[3] = static_cast<std::uint8_t>(it.month);
    r[4] = static_cast<std::uint8_t>(it.day);
    PutText(r, 5, 41, it.content);
    PutText(r, 46, 41, it.place);
    r[87] = static_cast<std::uint8_t>(it.ringtone);
    WriteU32(r, 88, i + 1 < ddayCount ? static_cast<std::uint32_t>(i + 1) : 0);
    s.ddays[i] = r;
  }
}

std::uint8_t Bcd(int value) {
  return static_cast<std::uint8_t>(((value / 10) << 4) | (value % 10));
}

struct Received {
  int slot, state, order;
  std::uint16_t teleservice;
  const char* text;              // user data, when not null
  const char* callback;          // when not null
  int month, day, hour, minute;  // month 0: no time stamp
};

Bytes ReceivedRecord(const Received& m) {
  Bytes r(532, 0);
  WriteU16(r, 0, static_cast<std::uint16_t>(m.slot));
  std::uint32_t mask = 0;
  std::size_t at = 20;
  WriteU16(r, at, m.teleservice);  // fixed header of 8 bytes (selector 0)
  at += 8;
  if (m.text != nullptr) {
    const Bytes text = Cp949(m.text);
    WriteU16(r, 3, static_cast<std::uint16_t>(text.size()));
    std::copy(text.begin(), text.end(), r.begin() + static_cast<std::ptrdiff_t>(at));
    at += text.size();
    mask |= 0x800;
  }
  if (m.callback != nullptr) {
    const std::size_t length = std::strlen(m.callback);
    r[5] = static_cast<std::uint8_t>(length);
    at += 4;
    std::memcpy(r.data() + at, m.callback, length);
    at += length;
    mask |= 0x40000;
  }
  if (m.month != 0) {
    const std::uint8_t stamp[] = {Bcd(26), Bcd(m.month), Bcd(m.day), Bcd(m.hour), Bcd(m.minute)};
    std::copy(std::begin(stamp), std::end(stamp), r.begin() + static_cast<std::ptrdiff_t>(at));
    mask |= 0x80000;
  }
  WriteU32(r, 6, mask);
  return r;
}

void AddMessages(HandsetState& s) {
  const Received received[] = {
      {0, 1, 0, 0x1002, "오늘 회의는 3시로 변경되었습니다.", "0161234567", 12, 3, 9, 5},
      {1, 1, 1, 0x1001, "퇴근길에 우유 좀 사다 줘", "0189876543", 12, 4, 18, 42},
      {2, 2, 0, 0x8004, "", "0165556666", 11, 28, 14, 7},
      {3, 3, 0, 0xB322, "", nullptr, 11, 30, 0, 15},
      {5, 1, 2, 0x1002, "생일 축하해! 좋은 하루 보내", "0161112222", 0, 0, 0, 0},
      {6, 2, 1, 0x1234, "", "0183334444", 12, 1, 12, 0},
  };
  for (const Received& m : received) {
    const std::size_t at = 20 + 4 * static_cast<std::size_t>(m.slot);
    s.rxList[at] = static_cast<std::uint8_t>(m.state);
    WriteU16(s.rxList, at + 1, static_cast<std::uint16_t>(m.order));
    s.rxRecords[m.slot] = ReceivedRecord(m);
  }
  struct Sent {
    int slot;
    const char* to;
    const char* text;
    int month, day, hour, minute;
  };
  const Sent sent[] = {
      {3, "0161234567", "네, 알겠습니다. 3시에 뵙겠습니다.", 12, 3, 9, 10},
      {7, "0189876543", "우유 샀어. 곧 도착해", 12, 4, 19, 2},
      {12, "0161112222", "고마워~", 11, 30, 23, 59},
  };
  s.moList[40] = static_cast<std::uint8_t>(std::size(sent));
  for (std::size_t i = 0; i < std::size(sent); ++i) {
    const Sent& m = sent[i];
    s.moList[41 + i] = static_cast<std::uint8_t>(m.slot);
    const int key = (m.slot + 128) % 256;
    Bytes r(296, 0);
    r[0] = static_cast<std::uint8_t>(key);
    r[2] = static_cast<std::uint8_t>(m.minute);
    r[3] = static_cast<std::uint8_t>(m.hour);
    r[4] = static_cast<std::uint8_t>(m.day);
    r[5] = static_cast<std::uint8_t>(m.month);
    r[6] = static_cast<std::uint8_t>(std::strlen(m.to));
    std::memcpy(r.data() + 7, m.to, std::strlen(m.to));
    const Bytes text = Cp949(m.text);
    r[39] = static_cast<std::uint8_t>(text.size());
    std::copy(text.begin(), text.end(), r.begin() + 40);
    s.txRecords[key] = r;
  }
}

// A small two-colour GIF picture (an LZW stream of 3-bit codes, cleared every
// two pixels so the code width never grows).
Bytes GifPicture(int width, int height, int seed) {
  Bytes g = {'G', 'I', 'F', '8', '9', 'a'};
  auto u16 = [&g](int v) {
    g.push_back(static_cast<std::uint8_t>(v & 0xFF));
    g.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  u16(width);
  u16(height);
  g.insert(g.end(), {0x80, 0x00, 0x00});  // global palette of two colours
  g.insert(g.end(), {0xFF, 0xFF, 0xFF, static_cast<std::uint8_t>(40 * seed), 0x40, 0xA0});
  g.push_back(0x2C);
  u16(0);
  u16(0);
  u16(width);
  u16(height);
  g.push_back(0x00);
  g.push_back(0x02);  // minimum code size
  Bytes data;
  std::uint32_t acc = 0;
  int bits = 0;
  auto code = [&](std::uint32_t c) {
    acc |= c << bits;
    bits += 3;
    while (bits >= 8) {
      data.push_back(static_cast<std::uint8_t>(acc & 0xFF));
      acc >>= 8;
      bits -= 8;
    }
  };
  const int pixels = width * height;
  for (int i = 0; i < pixels; ++i) {
    if (i % 2 == 0) {
      code(4);  // clear
    }
    const int x = i % width;
    const int y = i / width;
    code(((x / (2 + seed)) + (y / 3)) % 2 == 0 ? 1u : 0u);
  }
  code(5);  // end of information
  if (bits > 0) {
    data.push_back(static_cast<std::uint8_t>(acc & 0xFF));
  }
  for (std::size_t at = 0; at < data.size(); at += 255) {
    const std::size_t n = std::min<std::size_t>(255, data.size() - at);
    g.push_back(static_cast<std::uint8_t>(n));
    g.insert(g.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
             data.begin() + static_cast<std::ptrdiff_t>(at + n));
  }
  g.push_back(0x00);
  g.push_back(0x3B);
  return g;
}

// A ringtone in the handset's sound container: the "MMMD" mark, the length,
// and a generated melody of note bytes.
Bytes Ringtone(int seed, std::size_t size) {
  Bytes r = {'M', 'M', 'M', 'D'};
  const auto length = static_cast<std::uint32_t>(size - 8);
  for (int shift = 24; shift >= 0; shift -= 8) {
    r.push_back(static_cast<std::uint8_t>((length >> shift) & 0xFF));
  }
  r.insert(r.end(), {'C', 'N', 'T', 'I', 0x00, 0x00, 0x00, 0x05, 0x00, 0x01, 0x02, 0x03, 0x00});
  std::uint32_t x = static_cast<std::uint32_t>(seed) * 2654435761u + 1;
  while (r.size() < size) {
    x = x * 1103515245u + 12345u;
    r.push_back(static_cast<std::uint8_t>(0x30 + ((x >> 16) % 0x30)));
  }
  return r;
}

// A picture of the handset's own picture kind ("SAF" at the start).
Bytes SafPicture(int seed, std::size_t size) {
  Bytes p = {'S', 'A', 'F', 0x01, 0x00, 0x20, 0x00, 0x20};
  while (p.size() < size) {
    p.push_back(static_cast<std::uint8_t>((p.size() * static_cast<std::size_t>(seed + 3)) & 0x7F));
  }
  return p;
}

struct MediaItem {
  const char* name;
  std::uint16_t type;
  std::uint8_t subtype;  // bit 7 is added for items of 4,096 bytes or more
  Bytes data;
};

void PutMedia(HandsetState& s, const std::vector<MediaItem>& items) {
  Bytes info(MediaInfoSize(s.model), 0);
  std::fill(info.begin() + 895, info.begin() + 994, 0xFF);  // every slot free
  if (s.model == Model::kRx3100) {
    std::fill(info.begin() + 8023, info.begin() + 8221, 0xFF);
  } else {
    std::fill(info.begin() + 3271, info.begin() + 3469, 0xFF);
  }
  std::uint32_t total = 0;
  const std::size_t count = items.size();
  for (std::size_t slot = 0; slot < count; ++slot) {
    const MediaItem& item = items[slot];
    const Bytes name = Cp949(item.name);
    const std::size_t size = item.data.size();
    const bool large = size >= 4096;
    const std::uint8_t subtype = static_cast<std::uint8_t>(item.subtype | (large ? 0x80 : 0));
    Bytes file = {subtype, static_cast<std::uint8_t>(name.size() >> 4)};
    if (large) {
      file.push_back(
          static_cast<std::uint8_t>(((name.size() & 0x0F) << 4) | ((size >> 16) & 0x0F)));
      file.push_back(static_cast<std::uint8_t>((size >> 8) & 0xFF));
      file.push_back(static_cast<std::uint8_t>(size & 0xFF));
    } else {
      file.push_back(static_cast<std::uint8_t>(((name.size() & 0x0F) << 4) | ((size >> 8) & 0x0F)));
      file.push_back(static_cast<std::uint8_t>(size & 0xFF));
    }
    file.insert(file.end(), name.begin(), name.end());
    file.insert(file.end(), item.data.begin(), item.data.end());
    s.files[fmt::format("nvm/media/media_00{:02d}", slot)] = file;

    WriteU32(info, 4 + 4 * slot, static_cast<std::uint32_t>(file.size()));
    WriteU16(info, 400 + 2 * slot, item.type);
    info[796 + slot] = 1;
    info[895 + slot] = static_cast<std::uint8_t>(count - 1 - slot);  // the last one is newest
    std::copy(name.begin(),
              name.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(19, name.size())),
              info.begin() + static_cast<std::ptrdiff_t>(994 + 20 * slot));
    info[2974 + slot] = subtype;
    total += static_cast<std::uint32_t>(file.size());
  }
  WriteU32(info, 0, total);
  s.files["nvm/info/media_info"] = info;
}

void AddMedia(HandsetState& s) {
  std::vector<MediaItem> items = {
      {"봄바람", 2, 0x23, Ringtone(1, 1800)},     {"생일축하", 2, 0x23, Ringtone(2, 5200)},
      {"아침알람", 2, 0x23, Ringtone(3, 900)},    {"우리강아지", 1, 0x14, GifPicture(32, 24, 1)},
      {"바다풍경", 1, 0x13, SafPicture(2, 3000)},
  };
  if (s.model == Model::kRx3100) {
    items.push_back({"가을하늘", 1, 0x14, GifPicture(64, 48, 2)});
  }
  PutMedia(s, items);
}

}  // namespace

HandsetState FullState(Model model) {
  HandsetState s = SampleState(model);
  for (int slot = 1; slot <= 499; ++slot) {
    Bytes e(222, 0);
    WriteU16(e, 0, static_cast<std::uint16_t>(slot));
    PutText(e, 10, 20, fmt::format("연락처 {:03d}", slot));
    const std::string number = fmt::format("016{:07d}", 1000000 + slot);
    e[80] = static_cast<std::uint8_t>(number.size());
    std::copy(number.begin(), number.end(), e.begin() + 81);
    s.entries[slot] = e;
    s.slotFlags[static_cast<std::size_t>(slot)] = 0x01;
  }
  const auto chain = [](std::map<int, Bytes>& records, const Bytes& first, std::size_t nextAt,
                        int count) {
    records.clear();
    for (int i = 0; i < count; ++i) {
      Bytes r = first;
      r[0] = static_cast<std::uint8_t>(i);
      r[4] = static_cast<std::uint8_t>(1 + i % 28);
      WriteU32(r, nextAt, i + 1 < count ? static_cast<std::uint32_t>(i + 1) : 0);
      records[i] = r;
    }
  };
  chain(s.schedules, s.schedules.at(0), 91, 70);
  chain(s.ddays, s.ddays.at(0), 88, 27);
  const Bytes rx = s.rxRecords.at(0);
  for (int slot = 0; slot < 24; ++slot) {
    const std::size_t at = 20 + 4 * static_cast<std::size_t>(slot);
    s.rxList[at] = 1;
    WriteU16(s.rxList, at + 1, static_cast<std::uint16_t>(slot));
    Bytes r = rx;
    WriteU16(r, 0, static_cast<std::uint16_t>(slot));
    s.rxRecords[slot] = r;
  }
  const Bytes tx = s.txRecords.begin()->second;
  s.moList[40] = 40;
  for (int i = 0; i < 40; ++i) {
    s.moList[41 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    Bytes r = tx;
    r[0] = static_cast<std::uint8_t>(i + 128);
    s.txRecords[i + 128] = r;
  }
  // Thirteen items of 59,900 bytes: the handset's 800,000 bytes nearly used.
  std::vector<MediaItem> items;
  for (int i = 0; i < 13; ++i) {
    items.push_back({i % 2 == 0 ? "긴벨소리" : "긴그림",
                     static_cast<std::uint16_t>(i % 2 == 0 ? 2 : 1),
                     static_cast<std::uint8_t>(i % 2 == 0 ? 0x23 : 0x13),
                     i % 2 == 0 ? Ringtone(i, 59900) : SafPicture(i, 59900)});
  }
  PutMedia(s, items);
  return s;
}

HandsetState SampleState(Model model) {
  HandsetState s;
  s.model = model;
  AddPhonebook(s);
  AddCalendar(s);
  AddMessages(s);
  AddMedia(s);
  return s;
}

}  // namespace linkora::emulator
