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

  iconLabel_ = makeLabel(this, "iconLabel");
  iconLabel_->setAccessibleName(QStringLiteral("Open the Vornak web site"));
  iconLabel_->setCursor(handCursor());
  iconLabel_->installEventFilter(this);
  productLabel_ = makeLabel(this, "productLabel", QString::fromUtf8(kProductName));
  versionLabel_ = makeLabel(this, "versionLabel");
  descriptionLabel_ = makeLabel(this, "descriptionLabel");
  copyrightLabel_ = makeLabel(this, "copyrightLabel");
  webCaption_ = makeLabel(this, "webCaption", QStringLiteral("Worldwide Web: "));
  webLabel_ = makeLabel(this, "webLabel");
  {
    QPalette palette = webLabel_->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
    webLabel_->setPalette(palette);
    QFont font = webLabel_->font();
    font.setUnderline(true);
    webLabel_->setFont(font);
  }
  webLabel_->setCursor(handCursor());
  webLabel_->installEventFilter(this);
  rule_ = new QFrame(this);
  rule_->setObjectName(QStringLiteral("rule"));
  rule_->setFrameShape(QFrame::HLine);
  rule_->setFrameShadow(QFrame::Sunken);
  okButton_ = new QPushButton(QStringLiteral("OK"), this);
  okButton_->setObjectName(QStringLiteral("okButton"));
  okButton_->setDefault(true);
  okButton_->setAutoDefault(true);
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

  // The labels take no focus; the button is the only stop in the tab order.
  okButton_->setFocus();

  setTexts();
  placeControls();
}

void AboutDialog::placeControls() {
  const WindowGeometry g(font());
  // The icon fills its square, which rounding may make a pixel smaller than 480 twips.
  const QRect square = g.rect(120, 120, 480, 480);
  const int size = std::min(square.width(), square.height());
  iconLabel_->setGeometry(square);
  iconLabel_->setPixmap(appIcon().pixmap(size, size));
  iconLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  // These labels size themselves to their caption: they keep their place
  // and grow when the text needs more room than the layout gives it.
  const struct {
    QLabel* label;
    QRect rect;
  } labels[] = {
      {productLabel_, g.rect(840, 135, 1380, 195)},     {versionLabel_, g.rect(840, 375, 795, 195)},
      {descriptionLabel_, g.rect(840, 630, 2370, 195)}, {copyrightLabel_, g.rect(840, 1050, 2610, 195)},
      {webCaption_, g.rect(840, 1470, 1230, 195)},      {webLabel_, g.rect(2070, 1455, 1620, 195)},
  };
  int right = 0;
  for (const auto& [label, rect] : labels) {
    const QSize hint = label->sizeHint();
    label->setGeometry(QRect(rect.topLeft(), rect.size().expandedTo(hint)));
    right = std::max(right, label->geometry().right() + 1);
  }

  // A sunken rule in the palette's own shades.
  const QPoint from = g.point(105, 1890);
  const int lineWidth = g.px(4095) - from.x();
  rule_->setGeometry(from.x(), from.y(), lineWidth, 2);

  okButton_->setGeometry(g.rect(3045, 1995, 1095, 375));

  // A long web address or legal notice widens the window rather than being cut.
  QSize client = g.size(4230, 2460);
  client.setWidth(std::max(client.width(), right + g.px(120)));
  resize(client);
}

void AboutDialog::setTexts() {
  versionLabel_->setText(QStringLiteral("Version %1.%2").arg(kVersionMajor).arg(kVersionMinor));
  descriptionLabel_->setText(QString::fromUtf8(kFileDescription));
  copyrightLabel_->setText(QString::fromUtf8(kLegalNotice));
  webLabel_->setText(QString::fromUtf8(kWebAddress));
}

void AboutDialog::openWebAddress() {
  opener_(QUrl::fromUserInput(webLabel_->text()));
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget != nullptr && mouse->button() == Qt::LeftButton &&
        widget->rect().contains(mouse->position().toPoint())) {
      if (watched == webLabel_ || watched == iconLabel_) {
        openWebAddress();
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
