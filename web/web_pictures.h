#pragma once
// How the page draws a show's frames.
#include <memory>

#include "app/web_show.h"

namespace vortel {

std::unique_ptr<ShowPictures> makeWebPictures();

}  // namespace vortel
