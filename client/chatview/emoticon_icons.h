#pragma once

#include <QImage>

namespace vinylo::client {

// The picker's icon of emoticon `index` (0-24): a 36 x 36 picture with
// alpha, drawn here: a dog, a cat and a husky first, then yellow faces with
// the expression of each emoticon. Empty for an index outside the table.
QImage EmoticonIcon(int index);

}  // namespace vinylo::client
