#pragma once

#include <deque>

#include "Companions.h"

namespace vesko {

// Puts shots in the order a file manager shows their file names in: runs of digits compare as
// numbers (IMG_9 before IMG_10), ASCII letters without regard to case, everything else by its
// bytes; names that still tie (IMG_01 and IMG_1, a.jpg and A.jpg) go by their bytes. Names
// need not be UTF-8.
void sortByName(std::deque<QueueEntry>& shots);

}  // namespace vesko
