#pragma once

#include <QDialog>

#include "phonebook/PhonebookEntry.h"

class QListWidget;

namespace linkora {

class AvatarPreview;

// Chooses the seven pictures of an avatar: one picture list per part, and
// the composed avatar as the entry will show it. A double-click on item i of
// a part's list chooses value i + 1 for that part. The caller reads Parts()
// after the window ended with Accepted; after Cancel it keeps its own values.
class AvatarPickerDialog final : public QDialog {
 public:
  explicit AvatarPickerDialog(const AvatarParts& parts, QWidget* parent = nullptr);

  // Parts 1..7 in part order.
  const AvatarParts& Parts() const { return parts_; }
  int Part(int part) const { return parts_.at(static_cast<std::size_t>(part - 1)); }
  // The picture list with this control id (1104..1110), or null.
  QListWidget* List(int listId) const;

 private:
  void Choose(int part, int index);

  AvatarParts parts_;
  AvatarPreview* preview_ = nullptr;
};

}  // namespace linkora
