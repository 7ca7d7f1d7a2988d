// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The about box: product name, description, version, legal notice and the
// maker's web address, which opens in the desktop's browser when the address
// or the icon is clicked. Shown modal from the main window; Enter and the
// close box close it, Esc does not.
#include <QDialog>
#include <QUrl>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;

namespace vornak {

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  // Hands an address to the desktop's default handler; its result is ignored.
  using UrlOpener = std::function<void(const QUrl&)>;

  // opener empty: QDesktopServices::openUrl.
  explicit AboutDialog(QWidget* owner = nullptr, UrlOpener opener = {});

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void setTexts();
  void placeControls();
  void openWebAddress();

  QLabel* iconLabel_ = nullptr;
  QLabel* productLabel_ = nullptr;
  QLabel* versionLabel_ = nullptr;
  QLabel* descriptionLabel_ = nullptr;
  QLabel* copyrightLabel_ = nullptr;
  QLabel* webCaption_ = nullptr;
  QLabel* webLabel_ = nullptr;
  QFrame* rule_ = nullptr;
  QPushButton* okButton_ = nullptr;

  UrlOpener opener_;
};

}  // namespace vornak
