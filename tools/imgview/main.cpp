// imgview FILE: opens a window showing a BMP, PCX or TGA picture centred on an
// opaque grey back buffer that follows the window's size. Escape or closing the
// window ends it with status 0; a picture that cannot be read ends it with 1.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "core/error.h"
#include "graphics/api/graphic_api.h"
#include "graphics/geometry/color.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/picture_file.h"
#include "image/surface.h"
#include "platform/message_pump.h"
#include "platform/window.h"
#include "program/failure_report.h"
#include "program/standard_options.h"

namespace {

const ProgramUsage kUsage = {
    "imgview", "usage: imgview FILE.bmp|FILE.pcx|FILE.tga\n",
    "\nShows the picture in a window, centred; Escape or closing the window ends it.\n"};

C_Surface* Picture = nullptr;  // the picture, converted to the drawing format

// Background grey, chosen to differ from black and white pictures.
const C_Color kBackground = C_Color::FromBytes(64, 64, 64);

bool PaintPicture(C_GraphicApi* api) {
  api->BeginDraw();
  api->Clear(&kBackground);
  const C_Surface* target = api->GetTarget();
  if (target != nullptr && Picture != nullptr) {
    // Whole-pixel centring keeps the picture's pixels unscaled and unsplit.
    const C_Vector2D position(static_cast<float>((target->Width - Picture->Width) / 2),
                              static_cast<float>((target->Height - Picture->Height) / 2));
    api->DrawSurface(Picture, nullptr, &position, 0, nullptr, nullptr);
  }
  api->EndDraw();
  return api->Present();
}

void EndProgram(C_Window* window) {
  window->Close();
  PostQuitMessage(0);
}

void OnKeyDown(C_Window* window, int32_t /*character*/, int32_t virtualKey) {
  if (virtualKey == 27) EndProgram(window);
}

}  // namespace

int main(int argc, char** argv) {
  int status = 0;
  if (AnswerNameOnlyOptions(argc, argv, kUsage, status)) return status;
  if (argc != 2) return UsageError(kUsage, "needs one picture");
  C_Image loaded;
  C_Image* pixels = new C_Image();
  LastError = {};
  if (!LoadImageFile(argv[1], &loaded) ||
      !C_Image::ConvertInto(pixel_format::A8R8G8B8, pixels, &loaded)) {
    ReportFailure("imgview", argv[1], "cannot be shown");
    delete pixels;
    return 1;
  }
  Picture = new C_Surface();
  Picture->SetChannel(pixels, kColorChannel);

  C_Window window;
  window.Caption = C_String(("imgview - " + std::string(argv[1])).c_str());
  const float width = static_cast<float>(pixels->Width < 320 ? 320 : pixels->Width);
  const float height = static_cast<float>(pixels->Height < 240 ? 240 : pixels->Height);
  window.Placement = C_Rect(-width / 2, -height / 2, width / 2, height / 2, 0x22, 0x22);
  window.Handlers.KeyDown = &OnKeyDown;
  window.Handlers.Close = &EndProgram;

  C_GraphicApi api;
  api.Configure(static_cast<uint32_t>(width), static_cast<uint32_t>(height), 32, 0, 1, 0);
  api.SetPlacement(0x22, 0x22, 0);
  api.Attach(&window.Owner);
  api.PaintHandler = &PaintPicture;
  window.Open();
  if (!window.Opened) {
    std::fprintf(stderr, "imgview: the window could not be opened\n");
    delete Picture;
    return 1;
  }
  api.Open();

  // Repaint now and then as well, so that a window uncovered by another is redrawn.
  auto lastPaint = std::chrono::steady_clock::now();
  while (PumpMessage()) {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPaint > std::chrono::milliseconds(100)) {
      api.Repaint();
      lastPaint = now;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  api.Close();
  window.Close();
  delete Picture;
  return QuitExitCode();
}
