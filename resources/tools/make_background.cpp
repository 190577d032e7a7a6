// Writes panel_background.jpg, the 513 x 385 picture behind the settings
// panel: a soft blue gradient with faint row bands that line up with the
// panel's 40-pixel rows. Run once; the output is kept in the repository.
//   g++ -O2 -o /tmp/make_background make_background.cpp -ljpeg
//   /tmp/make_background ../panel_background.jpg
#include <cstddef>
#include <cstdio>
#include <vector>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

namespace {

constexpr int kWidth = 513;
constexpr int kHeight = 385;

unsigned char Clamp(double v) {
  return static_cast<unsigned char>(v < 0 ? 0 : v > 255 ? 255 : v);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.jpg\n", argv[0]);
    return 2;
  }
  FILE* out = std::fopen(argv[1], "wb");
  if (!out) {
    std::perror(argv[1]);
    return 1;
  }
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr jerr{};
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, out);
  cinfo.image_width = kWidth;
  cinfo.image_height = kHeight;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 85, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<unsigned char> row(kWidth * 3);
  for (int y = 0; y < kHeight; ++y) {
    const double t = static_cast<double>(y) / (kHeight - 1);
    // Rows of controls start every 40 pixels from y 40; a lighter band sits behind each.
    const bool band = y >= 36 && y < 356 && ((y - 36) % 40) < 28;
    for (int x = 0; x < kWidth; ++x) {
      const double s = static_cast<double>(x) / (kWidth - 1);
      double r = 150 + 40 * s - 30 * t;
      double g = 185 + 30 * s - 25 * t;
      double b = 235 - 10 * s - 15 * t;
      if (band) {
        r += 18;
        g += 16;
        b += 10;
      }
      row[x * 3 + 0] = Clamp(r);
      row[x * 3 + 1] = Clamp(g);
      row[x * 3 + 2] = Clamp(b);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::fclose(out);
  return 0;
}
