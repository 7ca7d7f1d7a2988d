// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Main.h"

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
#include "ui/Artwork.h"
#include "settings/Settings.h"
#include "settings/SettingsNumbers.h"
#include "fileservices/Filenames.h"
#include "fileservices/HugeFileFunctions.h"
#include "fileservices/SystemFileInterface.h"
#include "parts/PartSize.h"
#include "parts/Presets.h"
#include "ui/AboutBox.h"
#include "ui/Progress.h"
#include "ui/Save.h"
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
// PartsStrip

PartsStrip::PartsStrip(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(2);
}

QColor PartsStrip::colourOf(DiagramColour colour) const {
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

void PartsStrip::paint(const Diagram& diagram) {
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

void PartsStrip::paintEvent(QPaintEvent* event) {
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

Main::Main(Asker& asker, FileInterface* files, Options options, QWidget* parent)
    : QWidget(parent),
      asker_(asker),
      files_(files != nullptr ? *files : static_cast<FileInterface&>(systemFileInterface())),
      options_(std::move(options)) {
  setObjectName(QStringLiteral("Main"));
  std::error_code error;
  workingFolder = std::filesystem::current_path(error).string();
  createControls();
  Form_Load();
}

Main::~Main() = default;

void Main::createControls() {
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

  lblFilename = named(new QLabel(QStringLiteral("&Filename:"), this), "lblFilename");
  edFilename = named(new QLineEdit(this), "edFilename");
  butFilename = named(new QPushButton(QStringLiteral("..."), this), "butFilename");
  Label2 = named(new QLabel(QStringLiteral("Filesize:"), this), "Label2");
  lblSize = named(new QLabel(this), "lblSize");
  picParts = named(new PartsStrip(this), "picParts");
  lblFilesize = named(new QLabel(QStringLiteral("S&ize of split files:"), this), "lblFilesize");
  edPartsize = named(new QComboBox(this), "edPartsize");
  butSplit = named(new QPushButton(QStringLiteral("&Split File..."), this), "butSplit");
  butClose = named(new QPushButton(QStringLiteral("E&xit"), this), "butClose");
  cmdAbout = named(new QPushButton(QStringLiteral("&About..."), this), "cmdAbout");
  StatusBar = named(new StatusLine(this), "StatusBar");

  lblFilename->setBuddy(edFilename);
  lblFilesize->setBuddy(edPartsize);
  edPartsize->setEditable(true);
  edPartsize->setInsertPolicy(QComboBox::NoInsert);
  // The entry holds exactly what was typed: a completer without rows never
  // completes, and being case-sensitive it makes the combo box take a row for
  // the typed text (when the entry is left) only when the letters match
  // exactly. A row changes the text only when it is picked.
  auto* exact = new QCompleter(QStringList(), edPartsize);
  exact->setCaseSensitivity(Qt::CaseSensitive);
  edPartsize->setCompleter(exact);
  edPartsize->setMaxVisibleItems(8);
  greyText(Label2);
  greyText(lblSize);
  butSplit->setDefault(true);
  butSplit->setEnabled(false);
  for (QPushButton* button : {butFilename, butSplit, butClose, cmdAbout}) button->setAutoDefault(false);

  autoSize(lblFilename, 120, 120, 675, 195);
  edFilename->setGeometry(geo.rect(120, 360, 2925, 285));
  butFilename->setGeometry(geo.rect(3120, 360, 330, 285));
  autoSize(Label2, 120, 720, 555, 195);
  lblSize->setGeometry(geo.rect(840, 720, 2535, 255));
  picParts->setGeometry(geo.rect(105, 1050, 3330, 240));
  autoSize(lblFilesize, 105, 1365, 1155, 195);
  edPartsize->setGeometry(geo.rect(105, 1620, 3315, 315));
  butSplit->setGeometry(geo.rect(3720, 105, 1170, 345));
  butClose->setGeometry(geo.rect(3720, 525, 1170, 345));
  cmdAbout->setGeometry(geo.rect(3720, 1050, 1170, 345));
  StatusBar->setGeometry(geo.rect(0, 2130, 4980, 315));
  setFixedSize(geo.size(4980, 2445));

  // Tab order: edFilename, butFilename, edPartsize, butSplit, butClose, cmdAbout.
  for (QWidget* w : {static_cast<QWidget*>(lblFilename), static_cast<QWidget*>(Label2),
                     static_cast<QWidget*>(lblSize), static_cast<QWidget*>(lblFilesize),
                     static_cast<QWidget*>(picParts), static_cast<QWidget*>(StatusBar)})
    w->setFocusPolicy(Qt::NoFocus);
  setTabOrder(edFilename, butFilename);
  setTabOrder(butFilename, edPartsize);
  setTabOrder(edPartsize, butSplit);
  setTabOrder(butSplit, butClose);
  setTabOrder(butClose, cmdAbout);
  edFilename->setFocus();

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

  connect(edFilename, &QLineEdit::textChanged, this, &Main::edFilename_Change);
  connect(butFilename, &QPushButton::clicked, this, &Main::butFilename_Click);
  connect(butClose, &QPushButton::clicked, this, &Main::butClose_Click);
  connect(cmdAbout, &QPushButton::clicked, this, &Main::cmdAbout_Click);
  connect(butSplit, &QPushButton::clicked, this, &Main::butSplit_Click);
  connect(edPartsize, &QComboBox::editTextChanged, this, &Main::edPartsize_Change);
  connect(edPartsize, &QComboBox::activated, this, &Main::edPartsize_Click);
}

// ---------------------------------------------------------------------------
// Loading and closing

void Main::Form_Load() {
  const char separator = decimalSeparator();
  Settings settings(options_.settingsFile);
  guarded([&] { bufferSize = bufferSizeFromText(settings.read("FileBufferSize", "4096")); });
  const std::vector<std::string> defaults = defaultPresetRows(separator);
  {
    const QSignalBlocker blocker(edPartsize);
    for (int i = 0; i < 8; ++i) {
      guarded([&] {
        const std::string key = "SplitSize" + std::to_string(i + 1);
        const std::string fallback = i < static_cast<int>(defaults.size()) ? defaults[i] : std::string();
        edPartsize->addItem(Q(settings.read(key, fallback)));
      });
    }
    // The rows are there; the entry itself stays empty.
    edPartsize->setCurrentIndex(-1);
    edPartsize->setEditText(QString());
  }
  guarded([&] { target.overwriteAll = overwriteModeFromText(settings.read("OverwriteMode", "0")); });
  sourcePath.clear();
  fileSize = -1;
  partSize = 0;
  aboutText = "Vornak Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) +
              "\t\t" + kLegalNotice;
  partsText.clear();
  hintText.clear();
  const QSize inner = picParts->innerSize();
  diagramWidth = inner.width() - 2;
  diagramHeight = inner.height() - 2;
  drawParts();
}

void Main::Form_Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  Settings settings(options_.settingsFile);
  for (int i = 0; i < 8; ++i) {
    guarded([&] {
      if (i < edPartsize->count())
        settings.write("SplitSize" + std::to_string(i + 1), S(edPartsize->itemText(i)));
    });
  }
  guarded([&] { settings.write("OverwriteMode", std::to_string(target.overwriteAll)); });
}

void Main::closeEvent(QCloseEvent* event) {
  // While a split runs the window is disabled and must stay: the split works
  // with its state.
  if (splitting_ || !isEnabled()) {
    event->ignore();
    return;
  }
  Form_Unload();
  event->accept();
}

void Main::butClose_Click() {
  close();
}

void Main::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      if (event->modifiers() == Qt::NoModifier) {
        butClose->click();
        return;
      }
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
      // A focused button acts as the default one; otherwise butSplit does,
      // and only while it is enabled.
      auto* focused = qobject_cast<QPushButton*>(focusWidget());
      if (focused != nullptr && focused->isEnabled()) {
        focused->click();
      } else if (butSplit->isEnabled()) {
        butSplit->click();
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

std::string Main::getSourceFilename() {
  std::string result;
  guarded([&] { result = vornak::getSourceFilename(S(edFilename->text()), files_, workingFolder); });
  return result;
}

void Main::showFileSize() {
  lblSize->setText(QString());
  if (fileSize >= 0) {
    QLocale locale;
    locale.setNumberOptions(QLocale::DefaultNumberOptions);
    lblSize->setText(locale.toString(static_cast<qlonglong>(fileSize)) + QStringLiteral(" Bytes"));
  }
}

void Main::edFilename_Change() {
  sourcePath = getSourceFilename();
  fileSize = HugeFileFunctions::getHugeFileSize(sourcePath);
  updateControls();
}

void Main::butFilename_Click() {
  const std::string typed = S(edFilename->text());
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
  edFilename->setText(chosen);
}

// ---------------------------------------------------------------------------
// Part size, diagram and texts

char Main::decimalSeparator() {
  const QString point = QLocale().decimalPoint();
  if (point.size() == 1 && point.at(0).unicode() < 128) return static_cast<char>(point.at(0).unicode());
  return '.';
}

double Main::getPartSize() {
  return vornak::getPartSize(S(edPartsize->currentText()), decimalSeparator());
}

void Main::edPartsize_Change() {
  partSize = getPartSize();
  updateControls();
}

void Main::edPartsize_Click() {
  edPartsize_Change();
}

void Main::updateControls() {
  butSplit->setEnabled(partSize > 0 && !sourcePath.empty() && partSize < fileSize);
  showFileSize();
  drawParts();
}

void Main::drawParts() {
  DiagramInput input;
  input.width = diagramWidth;
  input.height = diagramHeight;
  input.haveSourceFile = !sourcePath.empty();
  input.fileSize = fileSize;
  input.partSize = partSize;
  diagram = computeDiagram(input);
  picParts->paint(diagram);
  picParts->setToolTip(QString());
  applyDiagramTexts(diagram.tooltip, diagram.partsText);
  if (diagram.customPointer)
    picParts->setCursor(splitCursor_);
  else
    picParts->unsetCursor();
}

void Main::makeTooltip(const std::string& tooltipText, double fileSize, double partSize) {
  std::string tooltip, summary;
  makeTooltipTexts(tooltipText, fileSize, partSize, tooltip, summary);
  applyDiagramTexts(tooltip, summary);
}

void Main::applyDiagramTexts(const std::string& tooltip, const std::string& summary) {
  picParts->setToolTip(Q(tooltip));
  partsText = summary;
  setStatusIfDifferent(partsText);
}

void Main::setStatusIfDifferent(const std::string& text) {
  const QString q = Q(text);
  if (StatusBar->simpleText() != q) StatusBar->setSimpleText(q);
}

void Main::picParts_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, double x) {
  DiagramClick click;
  click.rightButton = button == Qt::RightButton;
  click.ctrl = modifiers.testFlag(Qt::ControlModifier);
  click.x = x;
  const std::optional<std::string> size = clickToSize(fileSize, !sourcePath.empty(), diagramWidth, click);
  if (size) edPartsize->setEditText(Q(*size));
}

void Main::updatePartSizeList() {
  std::vector<std::string> rows;
  for (int i = 0; i < edPartsize->count(); ++i) rows.push_back(S(edPartsize->itemText(i)));
  const QString text = edPartsize->currentText();
  vornak::updatePartSizeList(rows, S(text));
  {
    // Rewriting the rows must not disturb the entry's text.
    const QSignalBlocker blocker(edPartsize);
    for (int i = 0; i < edPartsize->count() && i < static_cast<int>(rows.size()); ++i)
      edPartsize->setItemText(i, Q(rows[static_cast<std::size_t>(i)]));
  }
  edPartsize->setCurrentIndex(0);
  if (edPartsize->currentText() != text) edPartsize->setEditText(text);
}

// ---------------------------------------------------------------------------
// Status-bar hints

void Main::showHint(const std::string& text) {
  if (splitting_) return;  // "Splitting..." stays until the split's ending
  hintText = text;
  setStatusIfDifferent(hintText);
}

void Main::butFilename_MouseMove() {
  showHint("Browse.");
}

void Main::butSplit_MouseMove() {
  showHint("Split your file.");
}

void Main::butClose_MouseMove() {
  showHint("Quit Vornak.");
}

void Main::cmdAbout_MouseMove() {
  showHint(aboutText);
}

void Main::lblFilename_MouseMove() {
  showHint("Path of the file you want to split.");
}

void Main::lblFilesize_MouseMove() {
  showHint("Size of the split files (e.g. 12345, " + numberText(12.34, decimalSeparator()) + " KB, 1 MB).");
}

void Main::Form_MouseMove() {
  if (splitting_) return;
  setStatusIfDifferent(partsText);
}

void Main::mouseMoveEvent(QMouseEvent* event) {
  Form_MouseMove();
  QWidget::mouseMoveEvent(event);
}

bool Main::hintEvent(QObject* watched) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr) return false;
  if (!widget->isEnabled() && isEnabled()) {
    // A disabled control takes no mouse input: the window's background gets it.
    Form_MouseMove();
    return true;
  }
  if (watched == butFilename)
    butFilename_MouseMove();
  else if (watched == butSplit)
    butSplit_MouseMove();
  else if (watched == butClose)
    butClose_MouseMove();
  else if (watched == cmdAbout)
    cmdAbout_MouseMove();
  else if (watched == lblFilename)
    lblFilename_MouseMove();
  else if (watched == lblFilesize)
    lblFilesize_MouseMove();
  else
    return false;
  return true;
}

// ---------------------------------------------------------------------------
// Drag and drop

void Main::edFilename_OLEDragOver(QDragMoveEvent* event) {
  if (!droppedFiles(event->mimeData()).isEmpty() && (event->possibleActions() & Qt::CopyAction)) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
  } else {
    event->setDropAction(Qt::IgnoreAction);
    event->ignore();
  }
}

void Main::edFilename_OLEDragDrop(QDropEvent* event) {
  const QStringList files = droppedFiles(event->mimeData());
  if (files.isEmpty()) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
  edFilename->setText(files.first());
}

bool Main::refusesDropAt(const QPointF& position) const {
  const QWidget* under = childAt(position.toPoint());
  return under != nullptr && under != edFilename && under != lblSize && under != picParts;
}

// A drag refused by a control reaches the window's background too; there it
// stays refused: the no-drop pointer, and no action for the drag's source.
void Main::dragEnterEvent(QDragEnterEvent* event) {
  dragMoveEvent(event);
}

void Main::dragMoveEvent(QDragMoveEvent* event) {
  if (refusesDropAt(event->position())) {
    event->setDropAction(Qt::IgnoreAction);
    event->ignore();
    return;
  }
  Form_OLEDragOver(event);
}

void Main::dropEvent(QDropEvent* event) {
  if (refusesDropAt(event->position())) {
    event->setDropAction(Qt::IgnoreAction);
    event->ignore();
    return;
  }
  Form_OLEDragDrop(event);
}

bool Main::dropEvent(QObject* watched, QEvent* event) {
  if (watched != edFilename && watched != lblSize && watched != picParts) {
    // Refused here and, where it travels on, by the window's background.
    static_cast<QDropEvent*>(event)->setDropAction(Qt::IgnoreAction);
    event->ignore();
  } else if (event->type() == QEvent::Drop) {
    auto* drop = static_cast<QDropEvent*>(event);
    if (watched == edFilename)
      edFilename_OLEDragDrop(drop);
    else if (watched == lblSize)
      lblSize_OLEDragDrop(drop);
    else
      picParts_OLEDragDrop(drop);
  } else {
    auto* over = static_cast<QDragMoveEvent*>(event);
    if (watched == edFilename)
      edFilename_OLEDragOver(over);
    else if (watched == lblSize)
      lblSize_OLEDragOver(over);
    else
      picParts_OLEDragOver(over);
  }
  return true;
}

bool Main::eventFilter(QObject* watched, QEvent* event) {
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
      if (watched == picParts) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const double x = mouse->position().x() - picParts->contentsRect().left();
        picParts_MouseUp(mouse->button(), mouse->modifiers(), x);
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

void Main::cmdAbout_Click() {
  AboutBox box(this);
  box.exec();
}

void Main::butSplit_Click() {
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

std::string Main::filenameText() {
  return S(edFilename->text());
}

std::string Main::partSizeText() {
  return S(edPartsize->currentText());
}

void Main::setStatus(const std::string& text) {
  StatusBar->setSimpleText(Q(text));
}

void Main::showTargetDialog(TargetRecord& record) {
  Save::showModal(record, this, &asker_);
}

SplitFrontEnd& Main::loadProgress() {
  progress_ = std::make_unique<Progress>(this, &asker_);
  progress_->setMainCallbacks(
      [this] {
        setEnabled(true);
        activateWindow();
        if (focusWidget() == nullptr) edFilename->setFocus();
      },
      [this](const std::string& text) { setStatus(text); });
  return *progress_;
}

void Main::disableMain() {
  setEnabled(false);
  // The progress window is the main window's child but must stay usable:
  // its Cancel button is the only way to stop the split.
  if (progress_) progress_->setEnabled(true);
}

void Main::showProgress() {
  if (!progress_) return;
  progress_->show();
  // The keyboard goes to the progress window: Enter and Esc reach Cancel.
  progress_->raise();
  progress_->activateWindow();
}

void Main::yield() {
  QCoreApplication::processEvents();
}

}  // namespace vornak
