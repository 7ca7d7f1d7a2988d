#include "support/ScriptedSplitHost.h"

#include <stdexcept>

#include "fileservices/Filenames.h"

namespace vornak::test {

void ScriptedSplitHost::SetStatus(const std::string& text) {
  journal.push_back("SetStatus " + text);
  statuses.push_back(text);
}

void ScriptedSplitHost::ShowTargetDialog(TargetRecord& record) {
  journal.push_back("ShowTargetDialog");
  ++dialogs;
  if (onDialog) {
    onDialog(record);
    return;
  }
  const std::string name = record.saveftitle;
  record.savedrive = record.savepath;
  record.saveftitle = Filenames::GetTitle(name);
  if (!Filenames::GetExtension(name).empty()) record.savefext = Filenames::GetExtension(name);
}

void ScriptedSplitHost::UpdatePartSizeList() {
  journal.push_back("UpdatePartSizeList");
  ++listUpdates;
}

SplitFrontEnd& ScriptedSplitHost::LoadProgress() {
  journal.push_back("LoadProgress");
  if (failLoadProgress) throw std::runtime_error("The progress window cannot be loaded.");
  return frontEnd;
}

void ScriptedSplitHost::DisableMain() {
  journal.push_back("DisableMain");
  mainDisabled = true;
}

void ScriptedSplitHost::ShowProgress() {
  journal.push_back("ShowProgress");
  if (failShowProgress) throw std::runtime_error("The progress window cannot be shown.");
  progressShown = true;
}

void ScriptedSplitHost::Yield() {
  journal.push_back("HostYield");
}

}  // namespace vornak::test
