// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTimer>
#include <QToolTip>
#include <exception>
#include <filesystem>
#include <system_error>
#include <vector>

#include "Version.h"
#include "fileservices/SystemFileInterface.h"
#include "parts/PartSize.h"
#include "parts/Presets.h"
#include "settings/Settings.h"
#include "settings/SettingsNumbers.h"
#include "ui/AboutDialog.h"
#include "ui/Artwork.h"
#include "ui/FileDrops.h"
#include "ui/HoverHints.h"
#include "ui/InputBlocker.h"
#include "ui/PartsDiagram.h"
#include "ui/ProgressDialog.h"
#include "ui/StatusLine.h"
#include "ui/TargetDialog.h"
#include "ui/WindowGeometry.h"

namespace vornak {

namespace {

QString toQt(const std::string& text) {
  return QString::fromStdString(text);
}

// Runs one step of loading or saving the settings; a failing step is skipped.
template <typename Step>
void guarded(Step step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

std::string workingFolderAtStart() {
  std::error_code error;
  return std::filesystem::current_path(error).string();
}

}  // namespace

MainWindow::MainWindow(Asker& asker, FileInterface* files, Options options, QWidget* parent)
    : QWidget(parent),
      asker_(asker),
      files_(files != nullptr ? *files : static_cast<FileInterface&>(systemFileInterface())),
      options_(std::move(options)),
      setup_(files_, workingFolderAtStart()) {
  setObjectName(QStringLiteral("MainWindow"));
  createControls();
  loadSettings();
  updateDiagram();
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls() {
  splitCursor_ = splitCursor();
  setWindowTitle(QStringLiteral("Vornak Split your files"));
  setWindowIcon(appIcon());
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

  fileLabel_ = named(new QLabel(QStringLiteral("&Filename:"), this), "fileLabel");
  fileEdit_ = named(new QLineEdit(this), "fileEdit");
  browseButton_ = named(new QPushButton(QStringLiteral("..."), this), "browseButton");
  fileSizeCaption_ = named(new QLabel(QStringLiteral("Filesize:"), this), "fileSizeCaption");
  fileSizeLabel_ = named(new QLabel(this), "fileSizeLabel");
  diagramView_ = named(new PartsDiagram(this), "diagramView");
  partSizeLabel_ = named(new QLabel(QStringLiteral("S&ize of split files:"), this), "partSizeLabel");
  partSizeBox_ = named(new QComboBox(this), "partSizeBox");
  splitButton_ = named(new QPushButton(QStringLiteral("&Split File..."), this), "splitButton");
  exitButton_ = named(new QPushButton(QStringLiteral("E&xit"), this), "exitButton");
  aboutButton_ = named(new QPushButton(QStringLiteral("&About..."), this), "aboutButton");
  statusLine_ = named(new StatusLine(this), "statusLine");

  fileLabel_->setBuddy(fileEdit_);
  partSizeLabel_->setBuddy(partSizeBox_);
  partSizeBox_->setEditable(true);
  partSizeBox_->setInsertPolicy(QComboBox::NoInsert);
  // The entry holds exactly what was typed: a completer without rows never
  // completes, and being case-sensitive it makes the combo box take a row for
  // the typed text (when the entry is left) only when the letters match
  // exactly. A row changes the text only when it is picked.
  auto* exact = new QCompleter(QStringList(), partSizeBox_);
  exact->setCaseSensitivity(Qt::CaseSensitive);
  partSizeBox_->setCompleter(exact);
  partSizeBox_->setMaxVisibleItems(8);
  for (QLabel* label : {fileSizeCaption_, fileSizeLabel_}) {
    QPalette grey = label->palette();
    grey.setColor(QPalette::WindowText, palette().color(QPalette::PlaceholderText));
    label->setPalette(grey);
  }
  splitButton_->setDefault(true);
  splitButton_->setEnabled(false);
  for (QPushButton* button : {browseButton_, splitButton_, exitButton_, aboutButton_})
    button->setAutoDefault(false);

  const WindowGeometry geo(font());
  // Labels keep their place and take the size their caption needs.
  for (const auto& [label, rect] : {std::pair{fileLabel_, geo.rect(120, 120, 675, 195)},
                                    std::pair{fileSizeCaption_, geo.rect(120, 720, 555, 195)},
                                    std::pair{partSizeLabel_, geo.rect(105, 1365, 1155, 195)}}) {
    label->setGeometry(rect);
    const QSize hint = label->sizeHint();
    label->resize(hint.width(), std::max(hint.height(), label->height()));
  }
  fileEdit_->setGeometry(geo.rect(120, 360, 2925, 285));
  browseButton_->setGeometry(geo.rect(3120, 360, 330, 285));
  fileSizeLabel_->setGeometry(geo.rect(840, 720, 2535, 255));
  diagramView_->setGeometry(geo.rect(105, 1050, 3330, 240));
  partSizeBox_->setGeometry(geo.rect(105, 1620, 3315, 315));
  splitButton_->setGeometry(geo.rect(3720, 105, 1170, 345));
  exitButton_->setGeometry(geo.rect(3720, 525, 1170, 345));
  aboutButton_->setGeometry(geo.rect(3720, 1050, 1170, 345));
  statusLine_->setGeometry(geo.rect(0, 2130, 4980, 315));
  WindowGeometry::keepSize(this, geo.size(4980, 2445));

  for (QWidget* w : std::initializer_list<QWidget*>{fileLabel_, fileSizeCaption_, fileSizeLabel_,
                                                    partSizeLabel_, diagramView_, statusLine_})
    w->setFocusPolicy(Qt::NoFocus);
  setTabOrder(fileEdit_, browseButton_);
  setTabOrder(browseButton_, partSizeBox_);
  setTabOrder(partSizeBox_, splitButton_);
  setTabOrder(splitButton_, exitButton_);
  setTabOrder(exitButton_, aboutButton_);
  fileEdit_->setFocus();

  // Names for assistive technology where the control shows none of its own.
  fileEdit_->setAccessibleName(QStringLiteral("File to split"));
  browseButton_->setAccessibleName(QStringLiteral("Browse for the file to split"));
  fileSizeLabel_->setAccessibleDescription(QStringLiteral("File size"));  // its name is the size it shows
  diagramView_->setAccessibleName(QStringLiteral("Planned parts"));
  partSizeBox_->setAccessibleName(QStringLiteral("Size of split files"));
  partSizeBox_->lineEdit()->setAccessibleName(QStringLiteral("Size of split files"));
  statusLine_->setAccessibleDescription(QStringLiteral("Status"));

  // The hints of the status line.
  browseButton_->setStatusTip(QStringLiteral("Browse."));
  splitButton_->setStatusTip(QStringLiteral("Split your file."));
  exitButton_->setStatusTip(QStringLiteral("Quit Vornak."));
  aboutButton_->setStatusTip(QStringLiteral("Vornak Version %1.%2\t\t%3")
                                 .arg(kVersionMajor)
                                 .arg(kVersionMinor)
                                 .arg(QString::fromUtf8(kLegalNotice)));
  fileLabel_->setStatusTip(QStringLiteral("Path of the file you want to split."));
  partSizeLabel_->setStatusTip(
      toQt("Size of the split files (e.g. 12345, " + numberText(12.34, decimalSeparator()) + " KB, 1 MB)."));
  new HoverHints(
      this, [this](const QString& tip) { showHint(tip); }, [this] { showPartsSummary(); });
  new FileDrops(this, {fileEdit_, fileSizeLabel_, diagramView_},
                [this](const QString& path) { fileEdit_->setText(path); });

  connect(fileEdit_, &QLineEdit::textChanged, this, &MainWindow::sourceChanged);
  connect(browseButton_, &QPushButton::clicked, this, &MainWindow::chooseSource);
  connect(exitButton_, &QPushButton::clicked, this, &QWidget::close);
  connect(aboutButton_, &QPushButton::clicked, this, &MainWindow::about);
  connect(splitButton_, &QPushButton::clicked, this, &MainWindow::split);
  connect(partSizeBox_, &QComboBox::editTextChanged, this, &MainWindow::partSizeChanged);
  connect(partSizeBox_, &QComboBox::activated, this, &MainWindow::partSizeChanged);
  connect(diagramView_, &PartsDiagram::clicked, this, &MainWindow::diagramClicked);
}

// ---------------------------------------------------------------------------
// Settings

void MainWindow::loadSettings() {
  Settings settings(options_.settingsFile);
  guarded([&] { setup_.state().bufferSize = bufferSizeFromText(settings.read("FileBufferSize", "4096")); });
  const std::vector<std::string> defaults = defaultPresetRows(decimalSeparator());
  {
    const QSignalBlocker blocker(partSizeBox_);
    for (int i = 0; i < 8; ++i) {
      guarded([&] {
        const std::string key = "SplitSize" + std::to_string(i + 1);
        const std::string fallback = i < static_cast<int>(defaults.size()) ? defaults[i] : std::string();
        partSizeBox_->addItem(toQt(settings.read(key, fallback)));
      });
    }
    // The rows are there; the entry itself stays empty.
    partSizeBox_->setCurrentIndex(-1);
    partSizeBox_->setEditText(QString());
  }
  guarded([&] {
    setup_.state().target.overwriteAll = overwriteModeFromText(settings.read("OverwriteMode", "0"));
  });
}

void MainWindow::saveSettings() {
  if (settingsSaved_) return;
  settingsSaved_ = true;
  Settings settings(options_.settingsFile);
  for (int i = 0; i < 8 && i < partSizeBox_->count(); ++i) {
    guarded([&] {
      settings.write("SplitSize" + std::to_string(i + 1), partSizeBox_->itemText(i).toStdString());
    });
  }
  guarded([&] { settings.write("OverwriteMode", std::to_string(setup_.state().target.overwriteAll)); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // While a split runs the window is disabled and must stay: the split works
  // with its state.
  if (splitting_ || !isEnabled()) {
    event->ignore();
    return;
  }
  saveSettings();
  event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      if (event->modifiers() == Qt::NoModifier) {
        exitButton_->click();
        return;
      }
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
      // A focused button acts as the default one; otherwise Split does, and
      // only while it is enabled.
      auto* focused = qobject_cast<QPushButton*>(focusWidget());
      if (focused != nullptr && focused->isEnabled())
        focused->click();
      else if (splitButton_->isEnabled())
        splitButton_->click();
      return;
    }
    default:
      break;
  }
  QWidget::keyPressEvent(event);
}

// ---------------------------------------------------------------------------
// Source, part size and diagram

void MainWindow::sourceChanged() {
  setup_.setFileText(fileEdit_->text().toStdString());
  updateControls();
}

void MainWindow::chooseSource() {
  const QString start = toQt(setup_.browseFolder(fileEdit_->text().toStdString()));
  QString chosen = options_.openFileDialog ? options_.openFileDialog(this, start)
                                           : QFileDialog::getOpenFileName(this, QString(), start);
  if (chosen.isEmpty()) return;
  // The dialog answers with "/" between names; the name field holds the platform's form.
  chosen = QDir::toNativeSeparators(chosen);
  QCoreApplication::processEvents();
  setup_.fileChosen(chosen.toStdString());
  fileEdit_->setText(chosen);
}

char MainWindow::decimalSeparator() {
  const QString point = QLocale().decimalPoint();
  if (point.size() == 1 && point.at(0).unicode() < 128) return static_cast<char>(point.at(0).unicode());
  return '.';
}

void MainWindow::partSizeChanged() {
  setup_.setPartSizeText(partSizeBox_->currentText().toStdString(), decimalSeparator());
  updateControls();
}

void MainWindow::updateControls() {
  splitButton_->setEnabled(setup_.canSplit());
  fileSizeLabel_->clear();
  if (const double size = setup_.state().fileSize; size >= 0) {
    QLocale locale;
    locale.setNumberOptions(QLocale::DefaultNumberOptions);
    fileSizeLabel_->setText(locale.toString(static_cast<qlonglong>(size)) + QStringLiteral(" Bytes"));
  }
  updateDiagram();
}

void MainWindow::updateDiagram() {
  const QSize inner = diagramView_->innerSize();
  const Diagram diagram = setup_.diagram(inner.width() - 2, inner.height() - 2);
  diagramView_->paint(diagram);
  const QString tooltip = toQt(diagram.tooltip);
  diagramView_->setToolTip(tooltip);
  diagramView_->setAccessibleDescription(tooltip);
  // A tooltip on show follows the plan rather than keep the old one.
  if (QToolTip::isVisible() && diagramView_->underMouse()) {
    if (tooltip.isEmpty())
      QToolTip::hideText();
    else
      QToolTip::showText(QCursor::pos(), tooltip, diagramView_);
  }
  partsText_ = toQt(diagram.partsText);
  setStatusIfDifferent(partsText_);
  if (diagram.customPointer)
    diagramView_->setCursor(splitCursor_);
  else
    diagramView_->unsetCursor();
}

void MainWindow::diagramClicked(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, double x) {
  DiagramClick click;
  click.rightButton = button == Qt::RightButton;
  click.ctrl = modifiers.testFlag(Qt::ControlModifier);
  click.x = x;
  if (const auto size = setup_.sizeForClick(click, diagramView_->innerSize().width() - 2))
    partSizeBox_->setEditText(toQt(*size));
}

void MainWindow::updatePartSizeList() {
  std::vector<std::string> rows;
  for (int i = 0; i < partSizeBox_->count(); ++i) rows.push_back(partSizeBox_->itemText(i).toStdString());
  const QString text = partSizeBox_->currentText();
  vornak::updatePartSizeList(rows, text.toStdString());
  {
    // Rewriting the rows must not disturb the entry's text.
    const QSignalBlocker blocker(partSizeBox_);
    for (int i = 0; i < partSizeBox_->count() && i < static_cast<int>(rows.size()); ++i)
      partSizeBox_->setItemText(i, toQt(rows[static_cast<std::size_t>(i)]));
  }
  partSizeBox_->setCurrentIndex(0);
  if (partSizeBox_->currentText() != text) partSizeBox_->setEditText(text);
}

// ---------------------------------------------------------------------------
// Status line

void MainWindow::showHint(const QString& text) {
  if (!splitting_) setStatusIfDifferent(text);  // "Splitting..." stays until the split's ending
}

void MainWindow::showPartsSummary() {
  if (!splitting_) setStatusIfDifferent(partsText_);
}

void MainWindow::setStatusIfDifferent(const QString& text) {
  if (statusLine_->text() != text) statusLine_->setText(text);
}

void MainWindow::setStatus(const std::string& text) {
  statusLine_->setText(toQt(text));
}

// ---------------------------------------------------------------------------
// Commands

void MainWindow::about() {
  AboutDialog dialog(this);
  dialog.exec();
}

void MainWindow::split() {
  // A second click or Enter while a split runs (its windows yield) does
  // nothing, and the window takes no input until the split's ending.
  if (splitting_) return;
  splitting_ = true;
  const InputBlocker blocker(this);
  runSplitCommand(*this, files_, setup_.state());
  // The split's ending has unloaded the progress window.
  progress_.reset();
  splitting_ = false;
  if (ending_) QTimer::singleShot(0, this, &QWidget::close);
}

void MainWindow::endProgram() {
  ending_ = true;
  if (progress_) progress_->stop();
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* dialog = qobject_cast<QDialog*>(widget);
    if (dialog != nullptr && dialog->isVisible() && dialog != progress_.get()) dialog->reject();
  }
  // A split closes the window at its end.
  if (!splitting_) QTimer::singleShot(0, this, &QWidget::close);
}

std::string MainWindow::filenameText() {
  return fileEdit_->text().toStdString();
}

std::string MainWindow::partSizeText() {
  return partSizeBox_->currentText().toStdString();
}

void MainWindow::showTargetDialog(TargetRecord& record) {
  TargetDialog::showModal(record, this, &asker_);
}

SplitFrontEnd& MainWindow::loadProgress() {
  progress_ = std::make_unique<ProgressDialog>(this, &asker_);
  progress_->setMainCallbacks(
      [this] {
        setEnabled(true);
        activateWindow();
        if (focusWidget() == nullptr) fileEdit_->setFocus();
      },
      [this](const std::string& text) { setStatus(text); });
  return *progress_;
}

void MainWindow::disableMain() {
  setEnabled(false);
  // The progress window is the main window's child but must stay usable:
  // its Cancel button is the only way to stop the split.
  if (progress_) progress_->setEnabled(true);
}

void MainWindow::showProgress() {
  if (!progress_) return;
  progress_->show();
  // The keyboard goes to the progress window: Enter and Esc reach Cancel.
  progress_->raise();
  progress_->activateWindow();
}

void MainWindow::yield() {
  QCoreApplication::processEvents();
}

}  // namespace vornak
