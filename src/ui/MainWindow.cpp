// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QUrl>
#include <exception>
#include <filesystem>
#include <system_error>
#include <vector>

#include "Version.h"
#include "fileservices/Filenames.h"
#include "fileservices/HugeFileFunctions.h"
#include "fileservices/SystemFileInterface.h"
#include "parts/PartSize.h"
#include "parts/Presets.h"
#include "settings/Settings.h"
#include "settings/SettingsNumbers.h"
#include "ui/AboutDialog.h"
#include "ui/Artwork.h"
#include "ui/ProgressDialog.h"
#include "ui/TargetDialog.h"
#include "ui/WindowGeometry.h"

namespace vornak {

namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

std::string S(const QString& text) {
  return text.toStdString();
}

// Blanks (and only blanks) removed at both ends.
std::string trimBlanks(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The local file paths of a drag, or an empty list when it carries no list of
// files (text, web links).
QStringList droppedFiles(const QMimeData* data) {
  QStringList paths;
  if (data == nullptr || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) return QStringList();
    paths << url.toLocalFile();
  }
  return paths;
}

// Gives a new control its name.
template <typename Widget>
Widget* named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

// Runs one step of loading or saving; a failing step is skipped.
template <typename Step>
void guarded(Step step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

// While it lives, keys, mouse buttons, the wheel and drops meant for the
// window's own controls are dropped; its other windows (dialogs, progress,
// messages) still take them.
class InputBlocker : public QObject {
 public:
  explicit InputBlocker(QWidget* window) : window_(window) { qApp->installEventFilter(this); }
  ~InputBlocker() override { qApp->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::Shortcut:
      case QEvent::ShortcutOverride:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::Wheel:
      case QEvent::ContextMenu:
      case QEvent::DragEnter:
      case QEvent::DragMove:
      case QEvent::Drop: {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() == window_) return true;
        break;
      }
      default:
        break;
    }
    return false;
  }

 private:
  QWidget* window_;
};

}  // namespace

// ---------------------------------------------------------------------------
// PartsDiagram

PartsDiagram::PartsDiagram(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(2);
}

QColor PartsDiagram::colourOf(DiagramColour colour) const {
  switch (colour) {
    case DiagramColour::Foreground:
      return palette().color(QPalette::WindowText);
    case DiagramColour::Fill:
      return QColor(128, 128, 255);
    case DiagramColour::InactiveBorder:
      return palette().color(QPalette::Inactive, QPalette::Mid);
    case DiagramColour::InactiveCaption:
      return palette().color(QPalette::Inactive, QPalette::Midlight);
    case DiagramColour::Black:
      return Qt::black;
    case DiagramColour::Red:
      return QColor(255, 0, 0);
    case DiagramColour::White:
      return Qt::white;
  }
  return Qt::black;
}

void PartsDiagram::paint(const Diagram& diagram) {
  const qreal ratio = devicePixelRatioF();
  const QSize inner = innerSize();
  image_ = QImage(inner * ratio, QImage::Format_ARGB32_Premultiplied);
  image_.setDevicePixelRatio(ratio);
  image_.fill(palette().color(QPalette::Window));
  QPainter painter(&image_);
  painter.setRenderHint(QPainter::Antialiasing, false);
  for (const Primitive& p : diagram.primitives) {
    const QColor outline = colourOf(p.outline);
    switch (p.kind) {
      case Primitive::Kind::Box: {
        // Outline through both corner pixels, interior in the fill colour.
        const QRect box = QRect(QPoint(p.x1, p.y1), QPoint(p.x2, p.y2)).normalized();
        painter.fillRect(box, outline);
        if (box.width() > 2 && box.height() > 2)
          painter.fillRect(box.adjusted(1, 1, -1, -1), colourOf(p.fill));
        break;
      }
      case Primitive::Kind::Line:
        painter.setPen(QPen(outline, p.penWidth, Qt::SolidLine, Qt::SquareCap));
        painter.drawLine(p.x1, p.y1, p.x2, p.y2);
        break;
      case Primitive::Kind::Circle:
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(outline, 1));
        painter.setBrush(colourOf(p.fill));
        painter.drawEllipse(QPointF(p.x1 + 0.5, p.y1 + 0.5), p.radius, p.radius);
        painter.setBrush(Qt::NoBrush);
        painter.setRenderHint(QPainter::Antialiasing, false);
        break;
      case Primitive::Kind::Point:
        painter.fillRect(QRect(p.x1, p.y1, 1, 1), outline);
        break;
    }
  }
  painter.end();
  update();
}

void PartsDiagram::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  const QRect inner = contentsRect();
  if (image_.isNull())
    painter.fillRect(inner, palette().color(QPalette::Window));
  else
    painter.drawImage(inner.topLeft(), image_);
}

// ---------------------------------------------------------------------------
// StatusLine

StatusLine::StatusLine(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(1);
}

void StatusLine::setSimpleText(const QString& text) {
  text_ = text;
  ++writes_;
  update();
}

void StatusLine::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  const QRect area = contentsRect().adjusted(3, 0, -3, 0);
  const QStringList pieces = text_.split(QLatin1Char('\t'));
  static constexpr Qt::Alignment kAlign[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
  for (int i = 0; i < pieces.size(); ++i) {
    const Qt::Alignment align = kAlign[std::min(i, 2)] | Qt::AlignVCenter;
    painter.drawText(area, static_cast<int>(align | Qt::TextSingleLine), pieces[i]);
  }
}

// ---------------------------------------------------------------------------
// Main

MainWindow::MainWindow(Asker& asker, FileInterface* files, Options options, QWidget* parent)
    : QWidget(parent),
      asker_(asker),
      files_(files != nullptr ? *files : static_cast<FileInterface&>(systemFileInterface())),
      options_(std::move(options)) {
  setObjectName(QStringLiteral("MainWindow"));
  std::error_code error;
  workingFolder = std::filesystem::current_path(error).string();
  createControls();
  load();
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls() {
  initResources();
  splitCursor_ = splitCursor();
  setWindowTitle(QStringLiteral("Vornak Split your files"));
  setWindowIcon(appIcon());
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

  const WindowGeometry geo(font());
  // Labels that size themselves keep their place and take the size their
  // caption needs.
  auto autoSize = [&geo](QLabel* label, int left, int top, int width, int height) {
    label->setGeometry(geo.rect(left, top, width, height));
    const QSize hint = label->sizeHint();
    label->resize(hint.width(), std::max(hint.height(), label->height()));
  };
  const QColor grey = palette().color(QPalette::PlaceholderText);
  auto greyText = [grey](QLabel* label) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, grey);
    label->setPalette(p);
  };

  fileLabel = named(new QLabel(QStringLiteral("&Filename:"), this), "fileLabel");
  fileEdit = named(new QLineEdit(this), "fileEdit");
  browseButton = named(new QPushButton(QStringLiteral("..."), this), "browseButton");
  fileSizeCaption = named(new QLabel(QStringLiteral("Filesize:"), this), "fileSizeCaption");
  fileSizeLabel = named(new QLabel(this), "fileSizeLabel");
  diagramView = named(new PartsDiagram(this), "diagramView");
  partSizeLabel = named(new QLabel(QStringLiteral("S&ize of split files:"), this), "partSizeLabel");
  partSizeBox = named(new QComboBox(this), "partSizeBox");
  splitButton = named(new QPushButton(QStringLiteral("&Split File..."), this), "splitButton");
  exitButton = named(new QPushButton(QStringLiteral("E&xit"), this), "exitButton");
  aboutButton = named(new QPushButton(QStringLiteral("&About..."), this), "aboutButton");
  statusLine = named(new StatusLine(this), "statusLine");

  fileLabel->setBuddy(fileEdit);
  partSizeLabel->setBuddy(partSizeBox);
  partSizeBox->setEditable(true);
  partSizeBox->setInsertPolicy(QComboBox::NoInsert);
  // The entry holds exactly what was typed: a completer without rows never
  // completes, and being case-sensitive it makes the combo box take a row for
  // the typed text (when the entry is left) only when the letters match
  // exactly. A row changes the text only when it is picked.
  auto* exact = new QCompleter(QStringList(), partSizeBox);
  exact->setCaseSensitivity(Qt::CaseSensitive);
  partSizeBox->setCompleter(exact);
  partSizeBox->setMaxVisibleItems(8);
  greyText(fileSizeCaption);
  greyText(fileSizeLabel);
  splitButton->setDefault(true);
  splitButton->setEnabled(false);
  for (QPushButton* button : {browseButton, splitButton, exitButton, aboutButton})
    button->setAutoDefault(false);

  autoSize(fileLabel, 120, 120, 675, 195);
  fileEdit->setGeometry(geo.rect(120, 360, 2925, 285));
  browseButton->setGeometry(geo.rect(3120, 360, 330, 285));
  autoSize(fileSizeCaption, 120, 720, 555, 195);
  fileSizeLabel->setGeometry(geo.rect(840, 720, 2535, 255));
  diagramView->setGeometry(geo.rect(105, 1050, 3330, 240));
  autoSize(partSizeLabel, 105, 1365, 1155, 195);
  partSizeBox->setGeometry(geo.rect(105, 1620, 3315, 315));
  splitButton->setGeometry(geo.rect(3720, 105, 1170, 345));
  exitButton->setGeometry(geo.rect(3720, 525, 1170, 345));
  aboutButton->setGeometry(geo.rect(3720, 1050, 1170, 345));
  statusLine->setGeometry(geo.rect(0, 2130, 4980, 315));
  setFixedSize(geo.size(4980, 2445));

  // Tab order: fileEdit, browseButton, partSizeBox, splitButton, exitButton, aboutButton.
  for (QWidget* w : {static_cast<QWidget*>(fileLabel), static_cast<QWidget*>(fileSizeCaption),
                     static_cast<QWidget*>(fileSizeLabel), static_cast<QWidget*>(partSizeLabel),
                     static_cast<QWidget*>(diagramView), static_cast<QWidget*>(statusLine)})
    w->setFocusPolicy(Qt::NoFocus);
  setTabOrder(fileEdit, browseButton);
  setTabOrder(browseButton, partSizeBox);
  setTabOrder(partSizeBox, splitButton);
  setTabOrder(splitButton, exitButton);
  setTabOrder(exitButton, aboutButton);
  fileEdit->setFocus();

  // Hints follow the pointer; controls without a hint keep the status text,
  // so their mouse moves do not reach the window's background.
  setMouseTracking(true);
  for (QWidget* w : findChildren<QWidget*>()) {
    w->setMouseTracking(true);
    w->setAttribute(Qt::WA_NoMousePropagation, true);
    // Every control takes part in drag and drop so that the drop targets
    // accept files and the others refuse everything (instead of passing the
    // drag on to the window's background).
    w->setAcceptDrops(true);
    w->installEventFilter(this);
  }
  setAcceptDrops(true);

  connect(fileEdit, &QLineEdit::textChanged, this, &MainWindow::sourceChanged);
  connect(browseButton, &QPushButton::clicked, this, &MainWindow::chooseSource);
  connect(exitButton, &QPushButton::clicked, this, &MainWindow::closeClicked);
  connect(aboutButton, &QPushButton::clicked, this, &MainWindow::about);
  connect(splitButton, &QPushButton::clicked, this, &MainWindow::split);
  connect(partSizeBox, &QComboBox::editTextChanged, this, &MainWindow::partSizeChanged);
  connect(partSizeBox, &QComboBox::activated, this, &MainWindow::partSizeChosen);
}

// ---------------------------------------------------------------------------
// Loading and closing

void MainWindow::load() {
  const char separator = decimalSeparator();
  Settings settings(options_.settingsFile);
  guarded([&] { bufferSize = bufferSizeFromText(settings.read("FileBufferSize", "4096")); });
  const std::vector<std::string> defaults = defaultPresetRows(separator);
  {
    const QSignalBlocker blocker(partSizeBox);
    for (int i = 0; i < 8; ++i) {
      guarded([&] {
        const std::string key = "SplitSize" + std::to_string(i + 1);
        const std::string fallback = i < static_cast<int>(defaults.size()) ? defaults[i] : std::string();
        partSizeBox->addItem(Q(settings.read(key, fallback)));
      });
    }
    // The rows are there; the entry itself stays empty.
    partSizeBox->setCurrentIndex(-1);
    partSizeBox->setEditText(QString());
  }
  guarded([&] { target.overwriteAll = overwriteModeFromText(settings.read("OverwriteMode", "0")); });
  sourcePath.clear();
  fileSize = -1;
  partSize = 0;
  aboutText = "Vornak Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) +
              "\t\t" + kLegalNotice;
  partsText.clear();
  hintText.clear();
  const QSize inner = diagramView->innerSize();
  diagramWidth = inner.width() - 2;
  diagramHeight = inner.height() - 2;
  drawParts();
}

void MainWindow::saveSettings() {
  if (unloaded_) return;
  unloaded_ = true;
  Settings settings(options_.settingsFile);
  for (int i = 0; i < 8; ++i) {
    guarded([&] {
      if (i < partSizeBox->count())
        settings.write("SplitSize" + std::to_string(i + 1), S(partSizeBox->itemText(i)));
    });
  }
  guarded([&] { settings.write("OverwriteMode", std::to_string(target.overwriteAll)); });
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

void MainWindow::closeClicked() {
  close();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      if (event->modifiers() == Qt::NoModifier) {
        exitButton->click();
        return;
      }
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
      // A focused button acts as the default one; otherwise splitButton does,
      // and only while it is enabled.
      auto* focused = qobject_cast<QPushButton*>(focusWidget());
      if (focused != nullptr && focused->isEnabled()) {
        focused->click();
      } else if (splitButton->isEnabled()) {
        splitButton->click();
      }
      return;
    }
    default:
      break;
  }
  QWidget::keyPressEvent(event);
}

// ---------------------------------------------------------------------------
// Source file

std::string MainWindow::getSourceFilename() {
  std::string result;
  guarded([&] { result = vornak::getSourceFilename(S(fileEdit->text()), files_, workingFolder); });
  return result;
}

void MainWindow::showFileSize() {
  fileSizeLabel->setText(QString());
  if (fileSize >= 0) {
    QLocale locale;
    locale.setNumberOptions(QLocale::DefaultNumberOptions);
    fileSizeLabel->setText(locale.toString(static_cast<qlonglong>(fileSize)) + QStringLiteral(" Bytes"));
  }
}

void MainWindow::sourceChanged() {
  sourcePath = getSourceFilename();
  fileSize = HugeFileFunctions::getHugeFileSize(sourcePath);
  updateControls();
}

void MainWindow::chooseSource() {
  const std::string typed = S(fileEdit->text());
  if (browseFolder.empty() && !trimBlanks(typed).empty())
    browseFolder = Filenames::getFolder(Filenames::resolve(workingFolder, trimBlanks(typed)));
  QString chosen;
  if (options_.openFileDialog)
    chosen = options_.openFileDialog(this, Q(browseFolder));
  else
    chosen = QFileDialog::getOpenFileName(this, QString(), Q(browseFolder));
  if (chosen.isEmpty()) return;
  // The dialog answers with "/" between names; the name field holds the platform's form.
  chosen = QDir::toNativeSeparators(chosen);
  QCoreApplication::processEvents();
  browseFolder = Filenames::getFolder(S(chosen));
  // The open dialog makes the chosen file's folder the current one.
  workingFolder = browseFolder;
  fileEdit->setText(chosen);
}

// ---------------------------------------------------------------------------
// Part size, diagram and texts

char MainWindow::decimalSeparator() {
  const QString point = QLocale().decimalPoint();
  if (point.size() == 1 && point.at(0).unicode() < 128) return static_cast<char>(point.at(0).unicode());
  return '.';
}

double MainWindow::getPartSize() {
  return vornak::getPartSize(S(partSizeBox->currentText()), decimalSeparator());
}

void MainWindow::partSizeChanged() {
  partSize = getPartSize();
  updateControls();
}

void MainWindow::partSizeChosen() {
  partSizeChanged();
}

void MainWindow::updateControls() {
  splitButton->setEnabled(partSize > 0 && !sourcePath.empty() && partSize < fileSize);
  showFileSize();
  drawParts();
}

void MainWindow::drawParts() {
  DiagramInput input;
  input.width = diagramWidth;
  input.height = diagramHeight;
  input.haveSourceFile = !sourcePath.empty();
  input.fileSize = fileSize;
  input.partSize = partSize;
  diagram = computeDiagram(input);
  diagramView->paint(diagram);
  diagramView->setToolTip(QString());
  applyDiagramTexts(diagram.tooltip, diagram.partsText);
  if (diagram.customPointer)
    diagramView->setCursor(splitCursor_);
  else
    diagramView->unsetCursor();
}

void MainWindow::makeTooltip(const std::string& tooltipText, double fileSize, double partSize) {
  std::string tooltip, summary;
  makeTooltipTexts(tooltipText, fileSize, partSize, tooltip, summary);
  applyDiagramTexts(tooltip, summary);
}

void MainWindow::applyDiagramTexts(const std::string& tooltip, const std::string& summary) {
  diagramView->setToolTip(Q(tooltip));
  partsText = summary;
  setStatusIfDifferent(partsText);
}

void MainWindow::setStatusIfDifferent(const std::string& text) {
  const QString q = Q(text);
  if (statusLine->simpleText() != q) statusLine->setSimpleText(q);
}

void MainWindow::diagramClicked(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, double x) {
  DiagramClick click;
  click.rightButton = button == Qt::RightButton;
  click.ctrl = modifiers.testFlag(Qt::ControlModifier);
  click.x = x;
  const std::optional<std::string> size = clickToSize(fileSize, !sourcePath.empty(), diagramWidth, click);
  if (size) partSizeBox->setEditText(Q(*size));
}

void MainWindow::updatePartSizeList() {
  std::vector<std::string> rows;
  for (int i = 0; i < partSizeBox->count(); ++i) rows.push_back(S(partSizeBox->itemText(i)));
  const QString text = partSizeBox->currentText();
  vornak::updatePartSizeList(rows, S(text));
  {
    // Rewriting the rows must not disturb the entry's text.
    const QSignalBlocker blocker(partSizeBox);
    for (int i = 0; i < partSizeBox->count() && i < static_cast<int>(rows.size()); ++i)
      partSizeBox->setItemText(i, Q(rows[static_cast<std::size_t>(i)]));
  }
  partSizeBox->setCurrentIndex(0);
  if (partSizeBox->currentText() != text) partSizeBox->setEditText(text);
}

// ---------------------------------------------------------------------------
// Status-bar hints

void MainWindow::showHint(const std::string& text) {
  if (splitting_) return;  // "Splitting..." stays until the split's ending
  hintText = text;
  setStatusIfDifferent(hintText);
}

void MainWindow::butFilename_MouseMove() {
  showHint("Browse.");
}

void MainWindow::butSplit_MouseMove() {
  showHint("Split your file.");
}

void MainWindow::butClose_MouseMove() {
  showHint("Quit Vornak.");
}

void MainWindow::cmdAbout_MouseMove() {
  showHint(aboutText);
}

void MainWindow::lblFilename_MouseMove() {
  showHint("Path of the file you want to split.");
}

void MainWindow::lblFilesize_MouseMove() {
  showHint("Size of the split files (e.g. 12345, " + numberText(12.34, decimalSeparator()) + " KB, 1 MB).");
}

void MainWindow::Form_MouseMove() {
  if (splitting_) return;
  setStatusIfDifferent(partsText);
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
  Form_MouseMove();
  QWidget::mouseMoveEvent(event);
}

bool MainWindow::hintEvent(QObject* watched) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr) return false;
  if (!widget->isEnabled() && isEnabled()) {
    // A disabled control takes no mouse input: the window's background gets it.
    Form_MouseMove();
    return true;
  }
  if (watched == browseButton)
    butFilename_MouseMove();
  else if (watched == splitButton)
    butSplit_MouseMove();
  else if (watched == exitButton)
    butClose_MouseMove();
  else if (watched == aboutButton)
    cmdAbout_MouseMove();
  else if (watched == fileLabel)
    lblFilename_MouseMove();
  else if (watched == partSizeLabel)
    lblFilesize_MouseMove();
  else
    return false;
  return true;
}

// ---------------------------------------------------------------------------
// Drag and drop

void MainWindow::edFilename_OLEDragOver(QDragMoveEvent* event) {
  if (!droppedFiles(event->mimeData()).isEmpty() && (event->possibleActions() & Qt::CopyAction)) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
  } else {
    event->setDropAction(Qt::IgnoreAction);
    event->ignore();
  }
}

void MainWindow::edFilename_OLEDragDrop(QDropEvent* event) {
  const QStringList files = droppedFiles(event->mimeData());
  if (files.isEmpty()) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
  fileEdit->setText(files.first());
}

bool MainWindow::refusesDropAt(const QPointF& position) const {
  const QWidget* under = childAt(position.toPoint());
  return under != nullptr && under != fileEdit && under != fileSizeLabel && under != diagramView;
}

// A drag refused by a control reaches the window's background too; there it
// stays refused: the no-drop pointer, and no action for the drag's source.
void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  dragMoveEvent(event);
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
  if (refusesDropAt(event->position())) {
    event->setDropAction(Qt::IgnoreAction);
    event->ignore();
    return;
  }
  Form_OLEDragOver(event);
}

void MainWindow::dropEvent(QDropEvent* event) {
  if (refusesDropAt(event->position())) {
    event->setDropAction(Qt::IgnoreAction);
    event->ignore();
    return;
  }
  Form_OLEDragDrop(event);
}

bool MainWindow::dropEvent(QObject* watched, QEvent* event) {
  if (watched != fileEdit && watched != fileSizeLabel && watched != diagramView) {
    // Refused here and, where it travels on, by the window's background.
    static_cast<QDropEvent*>(event)->setDropAction(Qt::IgnoreAction);
    event->ignore();
  } else if (event->type() == QEvent::Drop) {
    auto* drop = static_cast<QDropEvent*>(event);
    if (watched == fileEdit)
      edFilename_OLEDragDrop(drop);
    else if (watched == fileSizeLabel)
      lblSize_OLEDragDrop(drop);
    else
      picParts_OLEDragDrop(drop);
  } else {
    auto* over = static_cast<QDragMoveEvent*>(event);
    if (watched == fileEdit)
      edFilename_OLEDragOver(over);
    else if (watched == fileSizeLabel)
      lblSize_OLEDragOver(over);
    else
      picParts_OLEDragOver(over);
  }
  return true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Enter:
    case QEvent::MouseMove:
      hintEvent(watched);
      break;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      return dropEvent(watched, event);
    case QEvent::DragLeave:
      return true;
    case QEvent::MouseButtonRelease:
      if (watched == diagramView) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const double x = mouse->position().x() - diagramView->contentsRect().left();
        diagramClicked(mouse->button(), mouse->modifiers(), x);
        return true;
      }
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Commands

void MainWindow::about() {
  AboutDialog box(this);
  box.exec();
}

void MainWindow::split() {
  // A second click or Enter while a split runs (its windows yield) does
  // nothing, and the window takes no input until the split's ending.
  if (splitting_) return;
  splitting_ = true;
  const InputBlocker blocker(this);
  SplitState state;
  state.sourcePath = sourcePath;
  state.fileSize = fileSize;
  state.partSize = partSize;
  state.bufferSize = bufferSize;
  state.target = target;
  runSplitCommand(*this, files_, state);
  sourcePath = state.sourcePath;
  fileSize = state.fileSize;
  partSize = state.partSize;
  target = state.target;
  // The split's ending has unloaded the progress window.
  progress_.reset();
  splitting_ = false;
}

std::string MainWindow::filenameText() {
  return S(fileEdit->text());
}

std::string MainWindow::partSizeText() {
  return S(partSizeBox->currentText());
}

void MainWindow::setStatus(const std::string& text) {
  statusLine->setSimpleText(Q(text));
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
        if (focusWidget() == nullptr) fileEdit->setFocus();
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
