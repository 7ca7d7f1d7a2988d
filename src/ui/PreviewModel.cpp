// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PreviewModel.h"

#include <algorithm>

namespace vornak {

PreviewModel::PreviewModel(const TargetRecord& record, QObject* parent)
    : QAbstractListModel(parent), record_(record), rows_(std::max<std::int32_t>(0, record.partCount)) {}

void PreviewModel::setName(const std::string& nameField) {
  const int rows = std::max<std::int32_t>(0, record_.partCount);
  if (rows != rows_) {
    beginResetModel();
    name_ = nameField;
    rows_ = rows;
    endResetModel();
    return;
  }
  name_ = nameField;
  if (rows_ > 0) emit dataChanged(index(0), index(rows_ - 1), {Qt::DisplayRole});
}

int PreviewModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

QVariant PreviewModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_) return {};
  return QString::fromStdString(previewName(name_, record_, index.row() + 1));
}

Qt::ItemFlags PreviewModel::flags(const QModelIndex& index) const {
  // Shown only: rows can be scrolled through but not selected.
  return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

}  // namespace vornak
