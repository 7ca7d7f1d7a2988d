// SPDX-License-Identifier: GPL-3.0-or-later
// The main window and Save As at a large font: texts fit, nothing overlaps, the
// tab order, the access keys. The message box every question goes through, and
// the drives Save As refuses.
#include <gtest/gtest.h>

#include "Version.h"
#include "fileservices/Volumes.h"
#include "support/QStringPrint.h"
#include "support/ScriptedAsker.h"
#include "ui/FolderList.h"
#include "ui/MainWindow.h"
#include "ui/MessageBoxAsker.h"
#include "ui/TargetDialog.h"
#include "ui/WindowKit.h"

namespace vornak {
namespace {

using test::find;
using test::q;
using SB = QMessageBox::StandardButton;

// The room a caption needs and the room it has (entries and lists show text of any length).
std::pair<QSize, QSize> textRoom(QWidget* w) {
  QSize need(0, 0), room = w->size();
  if (auto* label = qobject_cast<QLabel*>(w);
      label && (!label->text().isEmpty() || !label->pixmap().isNull()))
    need = label->sizeHint();
  if (auto* check = qobject_cast<QCheckBox*>(w)) need = check->sizeHint();
  if (auto* button = qobject_cast<QPushButton*>(w)) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.features = button->isDefault() ? QStyleOptionButton::DefaultButton : QStyleOptionButton::None;
    room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).size();
    const QFontMetrics fm(w->font());
    need = QSize(fm.horizontalAdvance(QString(button->text()).remove('&')), fm.height());
  }
  return {need, room};
}

// False: the main window, true: Save As. In a large wide font: the desktop's smaller one has room to spare.
class LayoutTest : public ::testing::TestWithParam<bool> {};

TEST_P(LayoutTest, AtALargeFontTextsFitNothingOverlapsAndTabAndAccessKeysWalkTheControls) {
  const bool saveAs = GetParam();
  const auto restore = qScopeGuard([font = QApplication::font()] { QApplication::setFont(font); });
  QApplication::setFont(QFont("DejaVu Sans", 12));
  test::TempDir dir;
  ScriptedAsker asker;
  TargetRecord record{"", dir.path(), "holiday-video.avi", "avi", counterPattern(12), 12, 0};
  const auto drives = [] { return std::vector<Volumes::Volume>{{"/", "", "ext4", "/dev/sda1"}}; };
  std::unique_ptr<QWidget> window;
  if (saveAs) window.reset(new TargetDialog(record, asker, nullptr, drives));
  if (!saveAs) window.reset(new MainWindow(asker, nullptr, {q(dir.join("s.ini")), {}}));
  window->show();
  QApplication::setActiveWindow(window.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

  QList<QWidget*> controls;  // the window's own controls, not their parts
  for (QWidget* w : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (w->isVisible() && !w->objectName().isEmpty()) controls << w;
  for (QWidget* w : controls) {
    SCOPED_TRACE(w->objectName().toStdString());
    EXPECT_TRUE(window->rect().contains(w->geometry())) << "outside the window";
    const auto [need, room] = textRoom(w);
    EXPECT_TRUE(need.width() <= room.width() && need.height() <= room.height()) << "text does not fit";
    for (QWidget* other : controls)
      EXPECT_FALSE(other != w && w->geometry().intersects(other->geometry()))
          << other->objectName().toStdString();
  }
  // The controls that take the focus from the keyboard, in tab order; the first has it at the start.
  const QStringList tabOrder = saveAs ? QStringList{"nameEdit", "previewList", "overwriteBox", "folderList",
                                                    "driveBox", "okButton",    "cancelButton"}
                                      : QStringList{"fileEdit",    "browseButton", "partSizeBox",
                                                    "splitButton", "exitButton",   "aboutButton"};
  ASSERT_NE(QApplication::focusWidget(), nullptr) << "the window lost the focus";
  QStringList walked{QApplication::focusWidget()->objectName()};
  for (QWidget* w = QApplication::focusWidget(); walked.size() < tabOrder.size();) {
    w = w->nextInFocusChain();
    if (w->window() == window.get() && (w->focusPolicy() & Qt::TabFocus) && w->isVisible() &&
        !w->objectName().isEmpty())
      walked << w->objectName();
  }
  EXPECT_EQ(walked, tabOrder);

  // Alt and the underlined letter, each used once, focus a caption's control or click a button.
  QString keys;
  for (QWidget* w : controls) {
    auto* label = qobject_cast<QLabel*>(w);
    auto* button = qobject_cast<QAbstractButton*>(w);
    const QString text = label ? label->text() : button ? button->text() : QString();
    const qsizetype key = text.indexOf('&') + 1;
    if (key == 0) continue;
    SCOPED_TRACE(w->objectName().toStdString());
    EXPECT_FALSE(keys.contains(text.at(key).toUpper())) << "an access key used twice";
    keys += text.at(key).toUpper();
    if (!w->isEnabled()) continue;
    ASSERT_TRUE(button || label->buddy()) << "an access key without a control";
    std::unique_ptr<QSignalSpy> clicks;
    if (button) {  // its own handler cut off, to count its clicks
      QObject::disconnect(button, &QAbstractButton::clicked, nullptr, nullptr);
      clicks = std::make_unique<QSignalSpy>(button, &QAbstractButton::clicked);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(text.at(key).toUpper().unicode()), Qt::AltModifier);
    for (int i = 0; clicks && i < 50 && clicks->count() == 0; ++i) QTest::qWait(10);  // a short press
    QWidget* focus = QApplication::focusWidget();
    EXPECT_TRUE(button ? clicks->count() == 1
                       : label->buddy() == focus || label->buddy()->isAncestorOf(focus));
  }
}

INSTANTIATE_TEST_SUITE_P(Windows, LayoutTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "SaveAs" : "Main");
                         });

// Caption, text (never markup), icon, buttons and default of the open box; then a press (NoButton: Escape).
TEST(MessageBoxAskerTest, CaptionIconButtonsDefaultAndAnswer) {
  // clang-format off
  const struct { Buttons buttons; int defaultButton; Icon icon; QMessageBox::Icon qtIcon; QMessageBox::StandardButtons shown;
                 SB shownDefault; SB press; Answer answer; } rows[] = {
      {Buttons::Ok, 0, Icon::Exclamation, QMessageBox::Warning, SB::Ok, SB::Ok, SB::NoButton, Answer::Ok},
      {Buttons::OkCancel, 0, Icon::Information, QMessageBox::Information, SB::Ok | SB::Cancel, SB::Ok, SB::NoButton, Answer::Cancel},
      {Buttons::OkCancel, 0, Icon::None, QMessageBox::NoIcon, SB::Ok | SB::Cancel, SB::Ok, SB::Ok, Answer::Ok},
      {Buttons::RetryCancel, 1, Icon::Exclamation, QMessageBox::Warning, SB::Retry | SB::Cancel, SB::Cancel, SB::Retry, Answer::Retry},
      {Buttons::YesNo, 1, Icon::Question, QMessageBox::Question, SB::Yes | SB::No, SB::No, SB::Yes, Answer::Yes}};
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(static_cast<int>(r.buttons) * 10 + r.defaultButton);
    test::onModal<QMessageBox>([&](QMessageBox* box) {
      ASSERT_NE(box, nullptr);
      test::maximizeOnWayland(box);
      EXPECT_EQ(box->windowTitle() + "|" + box->text(),
                QString(kApplicationTitle) + "|Line one\nline <b>two</b>");
      EXPECT_EQ(box->textFormat(), Qt::PlainText);
      EXPECT_EQ(box->icon(), r.qtIcon);
      EXPECT_EQ(box->standardButtons(), r.shown);
      EXPECT_EQ(box->standardButton(box->defaultButton()), r.shownDefault);
      r.press == SB::NoButton ? QTest::keyClick(box, Qt::Key_Escape)
                              : QTest::mouseClick(box->button(r.press), Qt::LeftButton);
    });
    EXPECT_EQ(MessageBoxAsker().ask({"Line one\nline <b>two</b>", r.icon, r.buttons, r.defaultButton}),
              r.answer);
  }
}

// A drive that cannot be opened is refused with a message, the previous drive
// and folder kept: one that vanished after the list was built, one without a
// mount point, and on Windows a drive letter without its medium (made so by
// tools/wine-prefix.sh).
TEST(TargetDialogTest, UnavailableDrivesAreRefused) {
  test::TempDir temp;
  const std::string data = temp.makeFolder("data"), gone = temp.makeFolder("gone"), lost = temp.join("lost");
  std::vector<std::string> refused = {gone, lost};
#ifdef _WIN32
  refused.push_back("M:\\");
#endif
  const TargetDialog::VolumeSource volumes = [&, calls = 0]() mutable {
    std::vector<Volumes::Volume> list;
    for (const std::string& drive : refused)
      if (drive != gone || calls == 0) list.push_back({drive, "", "vfat", "removable"});
    return ++calls, list;
  };
  TargetRecord record{"", data, "movie.avi", "mpg", "00", 12, 0};
  ScriptedAsker asker;
  TargetDialog dialog(record, asker, nullptr, volumes);
  dialog.show();
  auto* drives = find<QComboBox>(&dialog, "driveBox");
  const QString root = drives->currentText();
  for (const std::string& drive : refused) {
    asker.messages.clear();
    const std::string name = Volumes::displayName({drive, "", "", ""});  // on Windows "m:" for "M:\\"
    drives->setCurrentIndex(drives->findText(q(name)));
    EXPECT_EQ(asker.messages, std::vector<Message>{{"Drive " + name + " not available."}}) << drive;
    EXPECT_EQ(drives->currentText() + "|" + find<FolderList>(&dialog, "folderList")->path(),
              root + "|" + q(data));
  }
}

}  // namespace
}  // namespace vornak
