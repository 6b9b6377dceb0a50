#include "plover/controls/render.h"

#include <array>

#include "plover/controls/art.h"
#include "plover/controls/button_model.h"
#include "plover/controls/form_model.h"
#include "plover/controls/geometry.h"

namespace plover::controls {

namespace {

const Image& StoredStateImage(int index) {
  static const std::array<Image, 4> images{art::ButtonStateImage(0), art::ButtonStateImage(1),
                                           art::ButtonStateImage(2), art::ButtonStateImage(3)};
  return images[static_cast<size_t>(index < 0 || index > 3 ? kImageNormal : index)];
}

const Image& SkinImage() {
  static const Image skin = art::Skin();
  return skin;
}

const Image& StoredCaptionImage(int button, int image) {
  static const auto images = [] {
    std::array<std::array<Image, 7>, 3> all;
    for (int b = 0; b < 3; ++b) {
      const int last = b == static_cast<int>(CaptionButton::kMax) ? 6 : 3;
      for (int i = 1; i <= last; ++i) {
        all[static_cast<size_t>(b)][static_cast<size_t>(i)] =
            art::CaptionButtonImage(static_cast<CaptionButton>(b), i);
      }
    }
    return all;
  }();
  const bool known = button >= 0 && button <= 2 && image >= 0 && image <= 6;
  return images[static_cast<size_t>(known ? button : 0)][static_cast<size_t>(known ? image : 0)];
}

}  // namespace

Image ButtonFace(int w, int h, int image, unsigned dpi) {
  Image face(w, h, Opaque(kButtonBackground));
  for (const Piece& p : NineSlice(PixelsToTwips(w, dpi), PixelsToTwips(h, dpi))) {
    DrawPiece(face, StoredStateImage(image), p, dpi);
  }
  return face;
}

Image FrameFace(int w, int h, unsigned dpi) {
  Image face(w, h, Opaque(0xFFFFFF));
  for (const Piece& p : FramePieces(PixelsToTwips(w, dpi), PixelsToTwips(h, dpi))) {
    DrawPiece(face, SkinImage(), p, dpi);
  }
  return face;
}

Image CaptionButtonFace(int button, int image, int size) {
  const Image& source = StoredCaptionImage(button, image);
  if (source.width == 0) return {};
  Image face(size, size);
  DrawScaled(face, source);
  return face;
}

}  // namespace plover::controls
