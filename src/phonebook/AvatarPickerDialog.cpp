#include "phonebook/AvatarPickerDialog.h"

#include <QBitmap>
#include <QGroupBox>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <algorithm>

#include "phonebook/AvatarArt.h"
#include "phonebook/AvatarLayout.h"
#include "phonebook/AvatarPreview.h"
#include "resources/PhonebookTexts.h"
#include "resources/Texts.h"
#include "shell/QtText.h"

namespace linkora {
namespace {

// The window is laid out in dialog units of its 9-point font: 3 pixels for
// every 2 units, across and down.
constexpr int Du(int units) {
  return units * 3 / 2;
}

// Where each picture list sits, in dialog units.
struct ListPlace {
  int listId;
  int x, y, width, height;
};
constexpr ListPlace kListPlaces[] = {
    {1108, 16, 23, 122, 63},  {1106, 16, 92, 122, 63},  {1110, 16, 161, 122, 63},
    {1107, 16, 230, 122, 39}, {1109, 16, 275, 122, 39}, {1105, 146, 23, 122, 63},
    {1104, 146, 92, 122, 63},
};

QString ListName(int listId) {
  return QStringLiteral("list%1").arg(listId);
}

// A list icon: the picture, with the key colour shown transparent.
QIcon ItemIcon(const QImage& picture) {
  QPixmap pixmap = QPixmap::fromImage(picture);
  pixmap.setMask(pixmap.createMaskFromColor(QColor::fromRgb(kAvatarKeyColour)));
  return QIcon(pixmap);
}

}  // namespace

AvatarPickerDialog::AvatarPickerDialog(const AvatarParts& parts, QWidget* parent)
    : QDialog(parent), parts_(parts) {
  setWindowTitle(ToQt(texts::kAvatarPickerTitle));
  setFixedSize(Du(290), Du(333));

  auto* frame = new QGroupBox(ToQt(texts::kAvatarPickerFrame), this);
  frame->setGeometry(Du(7), Du(7), Du(276), Du(320));

  for (const ListPlace& place : kListPlaces) {
    const int part = AvatarPartOfList(place.listId);
    const AvatarPartLayout& layout = AvatarPartLayoutOf(part);
    auto* list = new QListWidget(this);
    list->setObjectName(ListName(place.listId));
    list->setGeometry(Du(place.x), Du(place.y), Du(place.width), Du(place.height));
    list->setViewMode(QListView::IconMode);
    list->setMovement(QListView::Static);
    list->setResizeMode(QListView::Adjust);
    list->setFlow(QListView::LeftToRight);
    list->setWrapping(true);
    // A cell just wider than the picture and tall enough for its label, so
    // a list shows three heads (or four eyes) in a row.
    list->setGridSize(
        QSize(std::max(layout.width + 2, 36), layout.height + list->fontMetrics().height() + 6));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setIconSize(QSize(layout.width, layout.height));
    list->setFrameShape(QFrame::StyledPanel);
    const std::vector<std::string> labels = AvatarItemLabels(part);
    for (std::size_t i = 0; i < labels.size(); ++i) {
      const int picture = layout.base + static_cast<int>(i) + 1;
      const QImage image = AvatarArtPicture(picture);
      auto* item = new QListWidgetItem(ToQt(labels[i]), list);
      if (!image.isNull()) {
        item->setIcon(ItemIcon(image));
      }
    }
    // No item is preselected: the list does not show the current value.
    list->setCurrentRow(-1);
    connect(list, &QListWidget::itemActivated, this,
            [this, part, list](QListWidgetItem* item) { Choose(part, list->row(item)); });
  }

  preview_ = new AvatarPreview(this);
  preview_->move(kAvatarFrame.pickerX, kAvatarFrame.pickerY);
  preview_->SetParts(parts_);

  auto* ok = new QPushButton(ToQt(texts::kOk), this);
  ok->setObjectName(QStringLiteral("ok"));
  ok->setGeometry(Du(155), Du(298), Du(50), Du(14));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* cancel = new QPushButton(ToQt(texts::kCancel), this);
  cancel->setObjectName(QStringLiteral("cancel"));
  cancel->setGeometry(Du(223), Du(298), Du(50), Du(14));
  cancel->setAutoDefault(false);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  // The focus starts on OK, so that no list looks as if it had a choice.
  ok->setFocus();
}

QListWidget* AvatarPickerDialog::List(int listId) const {
  return findChild<QListWidget*>(ListName(listId));
}

void AvatarPickerDialog::Choose(int part, int index) {
  if (index < 0) {
    return;
  }
  parts_.at(static_cast<std::size_t>(part - 1)) =
      static_cast<std::uint8_t>(AvatarValueOfItem(index));
  preview_->SetParts(parts_);
}

}  // namespace linkora
