#pragma once

#include <QString>

#include "classifier/PhotoViewModel.h"

namespace vesko {

// A file name as the file system holds it (bytes, in the locale's encoding), as Qt does.
QString fromNameBytes(const std::string& name);

// What the window says, in the user's language, of an answer or Undo that did not happen.
QString noticeText(const Notice& notice);

// The extensions of the files that move with a photo, upper-cased, each once, in their
// order: "+ CR3, XMP". Empty when there are none.
QString companionExtensions(const std::vector<std::string>& names);

// Why the current file shows no picture, or nothing when that is not known.
QString imageProblemText(DecodeProblem problem);

// The badge of a photo shown by its RAW file's preview because it gives no picture itself.
QString rawPreviewText(const QString& photoName);

// Where the current photo stands in its burst, "Burst · 2 of 7"; empty while in none.
QString burstText(const std::optional<BurstPlace>& burst);

}  // namespace vesko
