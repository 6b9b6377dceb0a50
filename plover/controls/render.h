// The faces of the skinned controls as pixels, before any text: a button's
// state image stretched over it, and the frame's skin over a window.
#pragma once

#include "plover/controls/image.h"

namespace plover::controls {

// A button of w x h pixels at `dpi` showing state image `image` (0 to 3),
// on the button's background.
Image ButtonFace(int w, int h, int image, unsigned dpi);

// The frame of a window of w x h pixels at `dpi`.
Image FrameFace(int w, int h, unsigned dpi);

// A caption button's image (see CaptionImage) scaled to size x size pixels;
// empty for image 0.
Image CaptionButtonFace(int button, int image, int size);

}  // namespace plover::controls
