#pragma once

class QAbstractItemModel;
class QTableView;

// Shows model in a grid of the catalogue as both the console and the maintenance window show
// it: the frequency column narrow, the text columns textWidth pixels wide, bold titles whose
// clicks set the order (the header itself neither sorts nor toggles), a narrow row marker.
void setUpToneGrid(QTableView* grid, QAbstractItemModel* model, int textWidth);
