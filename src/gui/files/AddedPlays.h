#pragma once

class QAbstractItemView;

namespace tolvane {

class PlayListModel;

// Shows the plays a followed log added: the data list announces its new rows
// while keeping its selection and the rows on screen where they are. A sorted
// list takes a large batch with one sort of the whole list, which costs less
// than placing each new row on its own.
void showAddedPlays(PlayListModel& model, QAbstractItemView& list);

} // namespace tolvane
