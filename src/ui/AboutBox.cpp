// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AboutBox.h"

#include <QDesktopServices>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>

#include "Version.h"
#include "ui/Artwork.h"
#include "ui/WindowGeometry.h"

namespace vornak {

namespace {
QLabel* makeLabel(QWidget* parent, const char* name, const QString& text = {}) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);
  return label;
}

QFrame* makeLine(QWidget* parent, const char* name, const QColor& colour) {
  auto* line = new QFrame(parent);
  line->setObjectName(QString::fromLatin1(name));
  line->setFrameShape(QFrame::NoFrame);
  line->setAutoFillBackground(true);
  QPalette palette = line->palette();
  palette.setColor(QPalette::Window, colour);
  line->setPalette(palette);
  return line;
}
}  // namespace

AboutBox::AboutBox(QWidget* owner, UrlOpener opener)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      opener_(std::move(opener)) {
  if (!opener_) opener_ = [](const QUrl& url) { QDesktopServices::openUrl(url); };
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("About Vornak"));
  setWindowIcon(appIcon());
  setModal(true);

  Image1 = makeLabel(this, "Image1");
  Image1->setCursor(handCursor());
  Image1->installEventFilter(this);
  Label1 = makeLabel(this, "Label1", QString::fromUtf8(kProductName));
  lblVersion = makeLabel(this, "lblVersion");
  lblDescription = makeLabel(this, "lblDescription");
  lblCopyright = makeLabel(this, "lblCopyright");
  Label4 = makeLabel(this, "Label4", QStringLiteral("Worldwide Web: "));
  lblWWW = makeLabel(this, "lblWWW");
  {
    QPalette palette = lblWWW->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    lblWWW->setPalette(palette);
    QFont font = lblWWW->font();
    font.setUnderline(true);
    lblWWW->setFont(font);
  }
  lblWWW->setCursor(handCursor());
  lblWWW->installEventFilter(this);
  Line1 = makeLine(this, "Line1", QColor(128, 128, 128));
  Line2 = makeLine(this, "Line2", QColor(255, 255, 255));
  Command1 = new QPushButton(QStringLiteral("OK"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setDefault(true);
  Command1->setAutoDefault(true);
  connect(Command1, &QPushButton::clicked, this, &AboutBox::Command1_Click);

  // The labels take no focus; the button is the only stop in the tab order.
  Command1->setFocus();

  Form_Load();
  placeControls();
}

void AboutBox::placeControls() {
  const WindowGeometry g(font());
  // The icon fills its square, which rounding may make a pixel smaller than 480 twips.
  const QRect square = g.rect(120, 120, 480, 480);
  const int size = std::min(square.width(), square.height());
  Image1->setGeometry(square);
  Image1->setPixmap(appIcon().pixmap(size, size));
  Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  // These labels size themselves to their caption: they keep their place
  // and grow when the text needs more room than the layout gives it.
  const struct {
    QLabel* label;
    QRect rect;
  } labels[] = {
      {Label1, g.rect(840, 135, 1380, 195)},         {lblVersion, g.rect(840, 375, 795, 195)},
      {lblDescription, g.rect(840, 630, 2370, 195)}, {lblCopyright, g.rect(840, 1050, 2610, 195)},
      {Label4, g.rect(840, 1470, 1230, 195)},        {lblWWW, g.rect(2070, 1455, 1620, 195)},
  };
  int right = 0;
  for (const auto& [label, rect] : labels) {
    const QSize hint = label->sizeHint();
    label->setGeometry(QRect(rect.topLeft(), rect.size().expandedTo(hint)));
    right = std::max(right, label->geometry().right() + 1);
  }

  // Etched rule: a grey line and a white one a pixel below it.
  const QPoint from = g.point(105, 1890);
  const int lineWidth = g.px(4095) - from.x();
  Line1->setGeometry(from.x(), from.y(), lineWidth, 1);
  Line2->setGeometry(from.x(), from.y() + 1, lineWidth, 1);

  Command1->setGeometry(g.rect(3045, 1995, 1095, 375));

  // A long web address or legal notice widens the window rather than being cut.
  QSize client = g.size(4230, 2460);
  client.setWidth(std::max(client.width(), right + g.px(120)));
  resize(client);
}

void AboutBox::Form_Load() {
  lblVersion->setText(QStringLiteral("Version %1.%2").arg(kVersionMajor).arg(kVersionMinor));
  lblDescription->setText(QString::fromUtf8(kFileDescription));
  lblCopyright->setText(QString::fromUtf8(kLegalNotice));
  lblWWW->setText(QString::fromUtf8(kWebAddress));
}

void AboutBox::lblWWW_Click() {
  opener_(QUrl::fromUserInput(lblWWW->text()));
}

void AboutBox::Image1_Click() {
  lblWWW_Click();
}

void AboutBox::Command1_Click() {
  accept();
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget != nullptr && mouse->button() == Qt::LeftButton &&
        widget->rect().contains(mouse->position().toPoint())) {
      if (watched == lblWWW) {
        lblWWW_Click();
        return true;
      }
      if (watched == Image1) {
        Image1_Click();
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

void AboutBox::keyPressEvent(QKeyEvent* event) {
  // The about box has no cancel button: Esc does nothing. The close box still
  // closes it (that goes through reject(), not through this key).
  if (event->matches(QKeySequence::Cancel)) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace vornak
