#pragma once

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "common/Cp949.h"
#include "phonebook/Phonebook.h"

namespace linkora::test {

// CP949 bytes of a UTF-8 text, for building records the way the handset holds them.
inline std::vector<std::uint8_t> Cp949(std::string_view utf8) {
  return cp949::FromUtf8(utf8).value();
}

// Types a text into an edit field as an input method commits it, so that
// Korean text arrives as it does from the keyboard (and passes the field's
// validator the same way).
inline void TypeText(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  QInputMethodEvent commit;
  commit.setCommitString(text);
  QApplication::sendEvent(edit, &commit);
}

// Chooses an item of a drop-down list as the user does.
inline void ChooseItem(QComboBox* box, int index) {
  box->setCurrentIndex(index);
  emit box->activated(index);
}

// Double-clicks a row of a list.
inline void DoubleClickRow(QTreeWidget* list, int row) {
  QTreeWidgetItem* item = list->topLevelItem(row);
  list->scrollToItem(item);
  const QRect place = list->visualItemRect(item);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, place.center());
}

// Double-clicks an item of a picture list.
inline void DoubleClickItem(QListWidget* list, int index) {
  QListWidgetItem* item = list->item(index);
  list->scrollToItem(item);
  const QRect place = list->visualItemRect(item);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, place.center());
}

// Runs `act` on the next modal window that opens, once the event loop runs.
inline void WhenModalOpens(std::function<void(QWidget*)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    QWidget* modal = QApplication::activeModalWidget();
    act(modal);
  });
}

}  // namespace linkora::test
