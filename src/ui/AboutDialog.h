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

  QLabel* iconLabel = nullptr;
  QLabel* productLabel = nullptr;
  QLabel* versionLabel = nullptr;
  QLabel* descriptionLabel = nullptr;
  QLabel* copyrightLabel = nullptr;
  QLabel* webCaption = nullptr;
  QLabel* webLabel = nullptr;
  QFrame* ruleDark = nullptr;
  QFrame* ruleLight = nullptr;
  QPushButton* okButton = nullptr;

 public slots:
  void load();
  void openWebAddress();
  void iconClicked();
  void Command1_Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void placeControls();

  UrlOpener opener_;
};

}  // namespace vornak
