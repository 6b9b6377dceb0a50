// The pictures of the skinned controls and of the program, drawn by code:
// the button's state images, the frame's skin and caption-button images, the
// hand pointer, the two button pictures and the program's icon.
#pragma once

#include "plover/controls/form_model.h"
#include "plover/controls/image.h"

namespace plover::controls::art {

// One of the button's four state images (StateImage), 45 x 20, opaque.
Image ButtonStateImage(int index);

// The frame's skin, 256 x 159, opaque.
Image Skin();

// A caption button's image (CaptionImage 1 to 3, and 4 to 6 for the
// maximise button), 16 x 16, opaque.
Image CaptionButtonImage(CaptionButton button, int image);

// The pointing hand over the caption buttons, 32 x 32: transparent pixels
// have alpha 0, the others are opaque black or white.
Image HandPointer();
inline constexpr int kHandHotX = 5;
inline constexpr int kHandHotY = 0;

// Pictures for the switch button and the loader button, `size` square,
// with alpha.
Image SwitchPicture(int size = 32);
Image LoaderPicture(int size = 32);

// The program's icon, `size` square, with alpha.
Image AppIcon(int size);

}  // namespace plover::controls::art
