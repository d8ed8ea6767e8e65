#pragma once

#include <QString>

#include "classifier/PhotoViewModel.h"

namespace vesko {

// What the window says, in the user's language, of an answer or Undo that did not happen.
QString noticeText(const Notice& notice);

// Why the current file shows no picture, or nothing when that is not known.
QString imageProblemText(DecodeProblem problem);

}  // namespace vesko
