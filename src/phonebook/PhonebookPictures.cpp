// Writes pictures of the phonebook's windows as PNG files, for checking
// their looks without a display:
//   linkora-phonebook-pictures FOLDER
// gives phonebook-window.png (a sample phonebook, one entry open with its
// avatar), avatar-picker.png and phonebook-progress.png.
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QTreeWidget>
#include <cstdio>
#include <string_view>

#include "common/Cp949.h"
#include "link/SessionState.h"
#include "phonebook/AvatarPickerDialog.h"
#include "phonebook/Phonebook.h"
#include "phonebook/PhonebookSyncDialog.h"
#include "phonebook/PhonebookWindow.h"
#include "shell/HandsetLibraryFactory.h"
#include "shell/PumpingSleep.h"
#include "shell/QtPromptService.h"
#include "shell/SyncApp.h"
#include "shell/WindowPicture.h"

namespace {

using linkora::AvatarParts;
using linkora::NumberKind;
using linkora::Phonebook;
using linkora::PhonebookEntry;

std::vector<std::uint8_t> Bytes(std::string_view utf8) {
  return linkora::cp949::FromUtf8(utf8).value_or(std::vector<std::uint8_t>{});
}

struct SampleEntry {
  int slot;
  std::string_view name;
  std::string_view mobile;
  std::string_view home;
  std::string_view email;
  int group;
  AvatarParts avatar;  // all zero: no avatar
};

// A small phonebook as a user might keep it.
Phonebook SamplePhonebook() {
  Phonebook book;
  const std::string_view groups[] = {"", "가족", "친구", "회사", "학교", "동호회", "거래처"};
  for (int g = 0; g < linkora::kGroupCount; ++g) {
    linkora::DialGroup& group = book.Groups()[static_cast<std::size_t>(g)];
    group.SetNumber(static_cast<std::uint8_t>(g));
    if (g < 7) {
      const auto name = Bytes(groups[g]);
      std::copy(name.begin(), name.end(), group.Bytes().begin() + linkora::DialGroup::kName);
    }
  }
  const SampleEntry entries[] = {
      {1, "엄마", "0111234567", "0215551234", "", 1, {3, 2, 2, 5, 3, 4, 0}},
      {2, "아빠", "0167654321", "0215551234", "", 1, {}},
      {3, "김민준", "01098765432", "", "minjun@norvane.kr", 2, {5, 0, 4, 2, 7, 9, 3}},
      {4, "이서연", "01055550000", "", "seoyeon@mail.kr", 2, {}},
      {5, "박지훈 과장", "0113337777", "0317778888", "jh.park@corp.kr", 3, {}},
      {7, "최유나", "01922224444", "", "", 4, {}},
      {10, "정하늘", "0172223333", "", "sky@norvane.kr", 5, {}},
      {12, "한국상사", "", "0234567890", "order@hanguk.co.kr", 6, {}},
      {15, "택배기사", "01012121212", "", "", 0, {}},
  };
  for (const SampleEntry& sample : entries) {
    std::uint8_t flags = 0;
    PhonebookEntry& entry = book.Entry(sample.slot);
    entry.SetSlot(static_cast<std::uint16_t>(sample.slot));
    entry.SetName(Bytes(sample.name));
    if (!sample.mobile.empty()) {
      entry.SetNumber(NumberKind::Mobile, Bytes(sample.mobile));
      flags |= linkora::slotflags::kMobile;
    }
    if (!sample.home.empty()) {
      entry.SetNumber(NumberKind::Home, Bytes(sample.home));
      flags |= linkora::slotflags::kHome;
    }
    if (!sample.email.empty()) {
      entry.SetEmail(Bytes(sample.email));
      flags |= linkora::slotflags::kEmail;
    }
    if (sample.group > 0) {
      entry.SetGroup(static_cast<std::uint8_t>(sample.group));
      flags |= linkora::slotflags::kGroup;
    }
    if (sample.avatar != AvatarParts{}) {
      entry.SetAvatarFlag(1);
      entry.SetAvatarPartValues(sample.avatar);
      flags |= linkora::slotflags::kAvatar;
    }
    book.Flags().SetFlags(sample.slot, flags);
  }
  return book;
}

int Pictures(const QString& folder) {
  QDir().mkpath(folder);
  QFont font(QStringLiteral("NanumGothic"));
  font.setPointSize(9);
  QApplication::setFont(font);

  auto library = linkora::CreateHandsetLibrary();
  linkora::PumpingSleep sleep;
  linkora::SessionState state = linkora::SyncApp::InitialState();
  linkora::QtPromptService prompts;
  const linkora::ConnectSettings settings{"COM1", 115200, "472913"};
  const linkora::LinkContext context{*library, sleep, state};

  linkora::PhonebookWindow window(settings, context, prompts);
  window.TakePhonebook(SamplePhonebook());
  window.show();
  window.ActivateRow(2);  // the entry with an avatar
  window.findChild<QTreeWidget*>(QStringLiteral("slots"))
      ->setCurrentItem(window.findChild<QTreeWidget*>(QStringLiteral("slots"))->topLevelItem(2));
  QApplication::processEvents();
  bool ok =
      linkora::SavePicture(linkora::FramedWindowPicture(window), folder + "/phonebook-window.png");

  linkora::AvatarPickerDialog picker(AvatarParts{5, 0, 4, 2, 7, 9, 3});
  picker.show();
  QApplication::processEvents();
  ok = linkora::SavePicture(linkora::FramedWindowPicture(picker), folder + "/avatar-picker.png") &&
       ok;
  picker.hide();

  Phonebook book;
  linkora::PhonebookSyncDialog progress(0, context, settings, book, prompts);
  progress.SetTitle("전화번호 데이터 수신중.. [003]");
  progress.SetProgress(42);
  ok = linkora::SavePicture(linkora::FramedWindowPicture(progress),
                            folder + "/phonebook-progress.png") &&
       ok;
  window.hide();
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const QStringList args = QApplication::arguments();
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: linkora-phonebook-pictures FOLDER\n");
    return 2;
  }
  return Pictures(args[1]);
}
