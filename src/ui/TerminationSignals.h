// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system's requests to end the program (SIGTERM from a logout or kill,
// SIGINT from Ctrl+C in a terminal, SIGHUP when the terminal goes), turned
// into a Qt signal on the user-interface thread. Nothing on Windows.
#include <QObject>

namespace vornak {

class TerminationSignals : public QObject {
  Q_OBJECT
 public:
  // One per program: the handlers are the process's.
  explicit TerminationSignals(QObject* parent = nullptr);
  ~TerminationSignals() override;

 signals:
  void received();
};

}  // namespace vornak
