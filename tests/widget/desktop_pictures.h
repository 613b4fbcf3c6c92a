// Reference pictures of painted screens, kept as PNG files in
// tests/widget/pictures/desktop and compared by their colours (the back buffer's
// alpha is not part of the screen). A mismatch saves the actual and expected
// pictures and their difference; DF_UPDATE_PICTURES=1 rewrites the references.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/graphics/raster/reference_picture.h"

class C_Image;

namespace desktop_test {

inline ::testing::AssertionResult MatchesReference(const std::string& name,
                                                   const C_Image& painted) {
  return MatchesStoredPicture(DF_WIDGET_PICTURES, name, painted, "widget_");
}

}  // namespace desktop_test
