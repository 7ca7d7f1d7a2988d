// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AboutDialog.h"

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

AboutDialog::AboutDialog(QWidget* owner, UrlOpener opener)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      opener_(std::move(opener)) {
  if (!opener_) opener_ = [](const QUrl& url) { QDesktopServices::openUrl(url); };
  setObjectName(QStringLiteral("AboutDialog"));
  setWindowTitle(QStringLiteral("About Vornak"));
  setWindowIcon(appIcon());
  setModal(true);

  iconLabel = makeLabel(this, "iconLabel");
  iconLabel->setCursor(handCursor());
  iconLabel->installEventFilter(this);
  productLabel = makeLabel(this, "productLabel", QString::fromUtf8(kProductName));
  versionLabel = makeLabel(this, "versionLabel");
  descriptionLabel = makeLabel(this, "descriptionLabel");
  copyrightLabel = makeLabel(this, "copyrightLabel");
  webCaption = makeLabel(this, "webCaption", QStringLiteral("Worldwide Web: "));
  webLabel = makeLabel(this, "webLabel");
  {
    QPalette palette = webLabel->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    webLabel->setPalette(palette);
    QFont font = webLabel->font();
    font.setUnderline(true);
    webLabel->setFont(font);
  }
  webLabel->setCursor(handCursor());
  webLabel->installEventFilter(this);
  ruleDark = makeLine(this, "ruleDark", QColor(128, 128, 128));
  ruleLight = makeLine(this, "ruleLight", QColor(255, 255, 255));
  okButton = new QPushButton(QStringLiteral("OK"), this);
  okButton->setObjectName(QStringLiteral("okButton"));
  okButton->setDefault(true);
  okButton->setAutoDefault(true);
  connect(okButton, &QPushButton::clicked, this, &AboutDialog::Command1_Click);

  // The labels take no focus; the button is the only stop in the tab order.
  okButton->setFocus();

  load();
  placeControls();
}

void AboutDialog::placeControls() {
  const WindowGeometry g(font());
  // The icon fills its square, which rounding may make a pixel smaller than 480 twips.
  const QRect square = g.rect(120, 120, 480, 480);
  const int size = std::min(square.width(), square.height());
  iconLabel->setGeometry(square);
  iconLabel->setPixmap(appIcon().pixmap(size, size));
  iconLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  // These labels size themselves to their caption: they keep their place
  // and grow when the text needs more room than the layout gives it.
  const struct {
    QLabel* label;
    QRect rect;
  } labels[] = {
      {productLabel, g.rect(840, 135, 1380, 195)},     {versionLabel, g.rect(840, 375, 795, 195)},
      {descriptionLabel, g.rect(840, 630, 2370, 195)}, {copyrightLabel, g.rect(840, 1050, 2610, 195)},
      {webCaption, g.rect(840, 1470, 1230, 195)},      {webLabel, g.rect(2070, 1455, 1620, 195)},
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
  ruleDark->setGeometry(from.x(), from.y(), lineWidth, 1);
  ruleLight->setGeometry(from.x(), from.y() + 1, lineWidth, 1);

  okButton->setGeometry(g.rect(3045, 1995, 1095, 375));

  // A long web address or legal notice widens the window rather than being cut.
  QSize client = g.size(4230, 2460);
  client.setWidth(std::max(client.width(), right + g.px(120)));
  resize(client);
}

void AboutDialog::load() {
  versionLabel->setText(QStringLiteral("Version %1.%2").arg(kVersionMajor).arg(kVersionMinor));
  descriptionLabel->setText(QString::fromUtf8(kFileDescription));
  copyrightLabel->setText(QString::fromUtf8(kLegalNotice));
  webLabel->setText(QString::fromUtf8(kWebAddress));
}

void AboutDialog::openWebAddress() {
  opener_(QUrl::fromUserInput(webLabel->text()));
}

void AboutDialog::iconClicked() {
  openWebAddress();
}

void AboutDialog::Command1_Click() {
  accept();
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget != nullptr && mouse->button() == Qt::LeftButton &&
        widget->rect().contains(mouse->position().toPoint())) {
      if (watched == webLabel) {
        openWebAddress();
        return true;
      }
      if (watched == iconLabel) {
        iconClicked();
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

void AboutDialog::keyPressEvent(QKeyEvent* event) {
  // The about box has no cancel button: Esc does nothing. The close box still
  // closes it (that goes through reject(), not through this key).
  if (event->matches(QKeySequence::Cancel)) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace vornak
