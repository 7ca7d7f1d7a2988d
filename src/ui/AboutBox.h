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

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  // Hands an address to the desktop's default handler; its result is ignored.
  using UrlOpener = std::function<void(const QUrl&)>;

  // opener empty: QDesktopServices::openUrl.
  explicit AboutBox(QWidget* owner = nullptr, UrlOpener opener = {});

  QLabel* Image1 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* lblVersion = nullptr;
  QLabel* lblDescription = nullptr;
  QLabel* lblCopyright = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* lblWWW = nullptr;
  QFrame* Line1 = nullptr;
  QFrame* Line2 = nullptr;
  QPushButton* Command1 = nullptr;

 public slots:
  void Form_Load();
  void lblWWW_Click();
  void Image1_Click();
  void Command1_Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void placeControls();

  UrlOpener opener_;
};

}  // namespace vornak
