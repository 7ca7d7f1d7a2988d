#pragma once
// A split-command host without windows: the main window's fields as plain
// values, a scripted asker for the command's messages, a scripted Save dialog
// and a headless front end as the progress window. Everything it is asked to
// do is recorded in one journal, together with the front end's operations.
#include <functional>
#include <string>
#include <vector>

#include "split/HeadlessFrontEnd.h"
#include "split/SplitCommand.h"
#include "support/ScriptedAsker.h"

namespace vornak::test {

class ScriptedSplitHost : public SplitCommandHost {
 public:
  ScriptedSplitHost() : frontEnd(&journal) {}

  std::string FilenameText() override { return filenameText; }
  std::string PartSizeText() override { return partSizeText; }
  char DecimalSeparator() override { return decimalSeparator; }
  void SetStatus(const std::string& text) override;
  Asker& Questions() override { return asker; }
  // Without onDialog: the user saves the proposed name unchanged, into the
  // proposed folder.
  void ShowTargetDialog(TargetRecord& record) override;
  void UpdatePartSizeList() override;
  SplitFrontEnd& LoadProgress() override;
  void DisableMain() override;
  void ShowProgress() override;
  void Yield() override;

  std::string filenameText;
  std::string partSizeText;
  char decimalSeparator = '.';
  std::function<void(TargetRecord&)> onDialog;
  bool failLoadProgress = false;
  bool failShowProgress = false;

  std::vector<std::string> journal;
  std::vector<std::string> statuses;  // the command's own status texts
  ScriptedAsker asker;
  HeadlessFrontEnd frontEnd;
  int dialogs = 0;
  int listUpdates = 0;
  bool mainDisabled = false;
  bool progressShown = false;
};

}  // namespace vornak::test
