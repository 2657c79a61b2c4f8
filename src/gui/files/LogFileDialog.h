#pragma once

class QFileDialog;

namespace tolvane {

// Sets up the "開く" dialog for play logs: the game's own file name first
// (score.txt in any letter case), then any text file and any file, so that a
// renamed backup or a copy from another machine can be picked too. Several
// files may be chosen at once.
void setUpLogFileDialog(QFileDialog& dialog);

} // namespace tolvane
