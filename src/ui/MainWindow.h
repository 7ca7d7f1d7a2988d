// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: the source file, its size, the part-size entry with its
// presets, the parts diagram, the split, exit and about buttons and a one-line
// status line. What it shows comes from a SplitSetup, which holds the source,
// the sizes and the target record for the whole run of the program; the
// window reads the settings when it opens and writes them when it closes.
#include <QCursor>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "fileservices/FileInterface.h"
#include "fileservices/Question.h"
#include "split/SplitCommand.h"
#include "split/SplitSetup.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vornak {

class PartsDiagram;
class ProgressDialog;
class StatusLine;

class MainWindow : public QWidget, private SplitCommandHost {
  Q_OBJECT
 public:
  struct Options {
    // The settings file; empty = the user's settings store.
    QString settingsFile;
    // Replaces the open-file dialog: gets the start folder, returns the chosen
    // path or an empty string for a cancel.
    std::function<QString(QWidget* parent, const QString& startFolder)> openFileDialog;
  };

  // files: the platform file interface when null.
  explicit MainWindow(Asker& asker, FileInterface* files = nullptr, Options options = {},
                      QWidget* parent = nullptr);
  ~MainWindow() override;

  // The source, sizes and target record the window works with.
  SplitSetup& setup() { return setup_; }
  const SplitSetup& setup() const { return setup_; }

 public slots:
  void split();
  void chooseSource();
  void about();
  // The system asks the program to end: a running split stops as after a
  // confirmed Cancel but without the question, open dialogs close as by
  // Escape, and the window closes as by its close box, keeping the settings.
  void endProgram();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private slots:
  void sourceChanged();
  void partSizeChanged();
  void diagramClicked(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, double x);

 private:
  void createControls();
  void loadSettings();
  void saveSettings();
  void updateControls();
  void updateDiagram();
  void showHint(const QString& text);
  void showPartsSummary();
  void setStatusIfDifferent(const QString& text);

  // What the split command asks of the window.
  std::string filenameText() override;
  std::string currentFolder() override { return setup_.workingFolder(); }
  std::string partSizeText() override;
  char decimalSeparator() override;
  void setStatus(const std::string& text) override;
  Asker& questions() override { return asker_; }
  void showTargetDialog(TargetRecord& record) override;
  void updatePartSizeList() override;
  SplitFrontEnd& loadProgress() override;
  void disableMain() override;
  void showProgress() override;
  void yield() override;

  Asker& asker_;
  FileInterface& files_;
  Options options_;
  SplitSetup setup_;

  QLabel* fileLabel_ = nullptr;
  QLineEdit* fileEdit_ = nullptr;
  QPushButton* browseButton_ = nullptr;
  QLabel* fileSizeCaption_ = nullptr;
  QLabel* fileSizeLabel_ = nullptr;
  PartsDiagram* diagramView_ = nullptr;
  QLabel* partSizeLabel_ = nullptr;
  QComboBox* partSizeBox_ = nullptr;
  QPushButton* splitButton_ = nullptr;
  QPushButton* exitButton_ = nullptr;
  QPushButton* aboutButton_ = nullptr;
  StatusLine* statusLine_ = nullptr;

  // The parts summary, shown over the window's background.
  QString partsText_;
  QCursor splitCursor_;
  std::unique_ptr<ProgressDialog> progress_;
  bool settingsSaved_ = false;
  bool splitting_ = false;  // from the split button's click to the split's ending
  bool ending_ = false;     // endProgram was called
};

}  // namespace vornak
