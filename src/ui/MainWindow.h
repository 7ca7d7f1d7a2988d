// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: the source file, its size, the part-size entry with its
// presets, the parts diagram, the split, exit and about buttons and a one-line
// status bar. It owns the working state and the target record for the whole
// run of the program, reads the settings when it loads and writes them when it
// closes.
#include <QCursor>
#include <QFrame>
#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "destination/TargetRecord.h"
#include "fileservices/FileInterface.h"
#include "fileservices/Question.h"
#include "parts/Diagram.h"
#include "split/SplitCommand.h"

class QComboBox;
class QDragMoveEvent;
class QDropEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vornak {

class ProgressDialog;

// The parts diagram strip: a sunken frame around a backing image that keeps
// the last drawing until the next one. Strip pixel (x, y) is image pixel
// (x, y); the drawing uses columns 1..W and rows 1..H.
class PartsDiagram : public QFrame {
  Q_OBJECT
 public:
  explicit PartsDiagram(QWidget* parent = nullptr);
  // The drawable size in strip pixels (the inner area).
  QSize innerSize() const { return contentsRect().size(); }
  // Clears the strip and paints the primitives.
  void paint(const Diagram& diagram);
  const QImage& image() const { return image_; }
  QColor colourOf(DiagramColour colour) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
};

// The status line: one text. A tab moves the text after it to the centre, a
// second tab to the right end.
class StatusLine : public QFrame {
  Q_OBJECT
 public:
  explicit StatusLine(QWidget* parent = nullptr);
  QString simpleText() const { return text_; }
  void setSimpleText(const QString& text);
  // How often the text was written (tests check that hints do not rewrite it).
  int writes() const { return writes_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
  int writes_ = 0;
};

class MainWindow : public QWidget, public SplitCommandHost {
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

  // Controls, named as everywhere else in the program.
  QLabel* fileLabel = nullptr;
  QLineEdit* fileEdit = nullptr;
  QPushButton* browseButton = nullptr;
  QLabel* fileSizeCaption = nullptr;
  QLabel* fileSizeLabel = nullptr;
  PartsDiagram* diagramView = nullptr;
  QLabel* partSizeLabel = nullptr;
  QComboBox* partSizeBox = nullptr;
  QPushButton* splitButton = nullptr;
  QPushButton* exitButton = nullptr;
  QPushButton* aboutButton = nullptr;
  StatusLine* statusLine = nullptr;

  // The target record shared with the split command and the Save dialog.
  TargetRecord target;

  // Working state.
  std::string sourcePath;
  double fileSize = -1;
  double partSize = 0;
  std::string hintText;
  std::string partsText;
  std::string aboutText;
  std::int32_t bufferSize = 0;
  std::int32_t diagramWidth = 0;
  std::int32_t diagramHeight = 0;
  std::string browseFolder;
  // The program's own current folder, against which relative file names are
  // read: the working folder at start, then the folder of the last file
  // chosen with Browse. The process's working folder never changes (on a
  // medium it would keep that medium busy).
  std::string workingFolder;
  // The last refresh of the diagram.
  Diagram diagram;

  std::string getSourceFilename();
  void showFileSize();
  double getPartSize();
  void updateControls();
  void drawParts();
  void makeTooltip(const std::string& tooltipText, double fileSize, double partSize);
  void updatePartSizeList() override;

  // SplitCommandHost
  std::string filenameText() override;
  std::string currentFolder() override { return workingFolder; }
  std::string partSizeText() override;
  char decimalSeparator() override;
  void setStatus(const std::string& text) override;
  Asker& questions() override { return asker_; }
  void showTargetDialog(TargetRecord& record) override;
  SplitFrontEnd& loadProgress() override;
  void disableMain() override;
  void showProgress() override;
  void yield() override;

 public slots:
  void load();
  void saveSettings();
  void sourceChanged();
  void chooseSource();
  void closeClicked();
  void about();
  void split();
  void partSizeChanged();
  void partSizeChosen();
  // x in strip pixels.
  void diagramClicked(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, double x);

  void butFilename_MouseMove();
  void butSplit_MouseMove();
  void butClose_MouseMove();
  void cmdAbout_MouseMove();
  void lblFilename_MouseMove();
  void lblFilesize_MouseMove();
  void Form_MouseMove();

  void edFilename_OLEDragOver(QDragMoveEvent* event);
  void edFilename_OLEDragDrop(QDropEvent* event);
  void Form_OLEDragOver(QDragMoveEvent* event) { edFilename_OLEDragOver(event); }
  void Form_OLEDragDrop(QDropEvent* event) { edFilename_OLEDragDrop(event); }
  void lblSize_OLEDragOver(QDragMoveEvent* event) { edFilename_OLEDragOver(event); }
  void lblSize_OLEDragDrop(QDropEvent* event) { edFilename_OLEDragDrop(event); }
  void picParts_OLEDragOver(QDragMoveEvent* event) { edFilename_OLEDragOver(event); }
  void picParts_OLEDragDrop(QDropEvent* event) { edFilename_OLEDragDrop(event); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createControls();
  void showHint(const std::string& text);
  void setStatusIfDifferent(const std::string& text);
  void applyDiagramTexts(const std::string& tooltip, const std::string& summary);
  bool hintEvent(QObject* watched);
  bool dropEvent(QObject* watched, QEvent* event);
  bool refusesDropAt(const QPointF& position) const;

  Asker& asker_;
  FileInterface& files_;
  Options options_;
  bool unloaded_ = false;
  bool splitting_ = false;  // from the split button's click to the split's ending
  QCursor splitCursor_;
  std::unique_ptr<ProgressDialog> progress_;
};

}  // namespace vornak
