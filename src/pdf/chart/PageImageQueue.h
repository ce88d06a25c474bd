// The page-image work (decode, fit or cut, encode) runs on worker threads and comes back
// in submission order, so the document is assembled page by page exactly as a
// single-threaded run would assemble it.
#pragma once

#include "pdf/JpegPicture.h"
#include "util/OrderedWorkQueue.h"

#include <optional>

namespace pendlar {

using PageImageQueue = OrderedWorkQueue<std::optional<JpegPicture>>;

} // namespace pendlar
