// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rows of the Save dialog's preview: one part name per part, computed when
// the view asks for a row, so that a change of the name costs the same for
// 2 parts as for 32736.
#include <QAbstractListModel>
#include <string>

#include "destination/TargetRecord.h"

namespace vornak {

class PreviewModel : public QAbstractListModel {
  Q_OBJECT
 public:
  PreviewModel(const TargetRecord& record, QObject* parent = nullptr);

  // The name field's text the rows are built from.
  void setName(const std::string& nameField);
  const std::string& name() const { return name_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  const TargetRecord& record_;
  std::string name_;
  int rows_ = 0;
};

}  // namespace vornak
