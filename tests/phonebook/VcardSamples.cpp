// Writes vCard files for the independent parser's check (check_vcard.py):
// the emulator's sample handset phonebook, and each sample of another
// program read in and written out again.
#include <filesystem>
#include <iostream>
#include <memory>

#include "emulator/HandsetState.h"
#include "phonebook/Phonebook.h"
#include "phonebook/VcardReader.h"
#include "phonebook/VcardWriter.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: vcard-samples DATA_DIR OUT_DIR\n";
    return 2;
  }
  const std::filesystem::path data = argv[1];
  const std::filesystem::path out = argv[2];
  using linkora::Phonebook;

  const auto state = linkora::emulator::SampleState(linkora::emulator::Model::kRx3100);
  auto book = std::make_unique<Phonebook>();
  std::copy(state.slotFlags.begin(), state.slotFlags.end(), book->Flags().Bytes().begin());
  for (const auto& [slot, bytes] : state.entries) {
    std::copy(bytes.begin(), bytes.end(), book->Entry(slot).Bytes().begin());
  }
  for (const auto& [index, bytes] : state.groups) {
    std::copy(bytes.begin(), bytes.end(),
              book->Groups()[static_cast<std::size_t>(index)].Bytes().begin());
  }
  linkora::VcardWriter writer;
  if (!writer.Save(out / "sample-handset.vcf", *book)) {
    std::cerr << writer.errorString() << '\n';
    return 1;
  }
  for (const char* name :
       {"android-2.1.vcf", "iphone-3.0.vcf", "google-3.0.vcf", "vcard-4.0.vcf"}) {
    auto imported = std::make_unique<Phonebook>();
    linkora::VcardReader reader;
    if (!reader.Load(data / name, *imported) ||
        !writer.Save(out / (std::string("again-") + name), *imported)) {
      std::cerr << name << ": " << reader.errorString() << writer.errorString() << '\n';
      return 1;
    }
  }
  return 0;
}
