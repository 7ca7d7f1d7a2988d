// SPDX-License-Identifier: GPL-3.0-or-later
// Keystrokes in the Save dialog's name field with the largest plan (32736
// parts): every change rebuilds the preview, so each keystroke must stay well
// below what a user notices. Prints the median time per keystroke.
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "fileservices/Question.h"
#include "ui/TargetDialog.h"

namespace {
// One key press and release, delivered as the window system would.
void type(QWidget* widget, int key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &release);
}

class SilentAsker : public vornak::Asker {
 public:
  vornak::Answer ask(const vornak::Message&) override { return vornak::Answer::Ok; }
};
}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  vornak::TargetRecord record;
  record.folder = "/";
  record.baseName = "movie.avi";
  record.extension = "avi";
  record.partCount = 32736;
  record.counterFormat = "00000";
  SilentAsker asker;
  vornak::TargetDialog dialog(record, asker);
  dialog.show();
  QApplication::processEvents();

  constexpr int kKeystrokes = 200;
  const char keys[] = "abcdefgh";
  std::vector<double> ms;
  ms.reserve(kKeystrokes);
  auto* name = dialog.findChild<QLineEdit*>("nameEdit");
  auto* preview = dialog.findChild<QListView*>("previewList");
  name->setFocus();
  for (int i = 0; i < kKeystrokes; ++i) {
    QElapsedTimer timer;
    timer.start();
    // Type eight letters, a refused ":", then take the letters back again,
    // so that the name stays as long as a real one.
    const int step = i % 18;
    if (step < 8)
      type(name, Qt::Key_A + step, QString(QChar(keys[step])));
    else if (step == 8 || step == 17)
      type(name, Qt::Key_Colon, ":");  // refused: beep, clean, rebuild
    else
      type(name, Qt::Key_Backspace, "");
    // Let the view repaint what it shows, as the event loop would.
    preview->viewport()->repaint();
    ms.push_back(timer.nsecsElapsed() / 1e6);
  }
  std::sort(ms.begin(), ms.end());
  const double median = ms[ms.size() / 2];
  std::printf(
      "preview-bench: %d keystrokes, %d preview rows: median %.3f ms, max %.3f ms per keystroke (limit 5 "
      "ms)\n",
      kKeystrokes, record.partCount, median, ms.back());
  return median < 5.0 ? 0 : 1;
}
