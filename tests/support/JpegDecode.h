#pragma once
// Reading back JPEG files with libjpeg itself, and the tables libjpeg makes for a quality.
#include <QByteArray>
#include <QImage>
#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>
// clang-format off
#include <jpeglib.h>
// clang-format on

namespace slatewick {

using QuantTables = std::array<std::array<std::uint16_t, 64>, 2>;  // luminance, chrominance

struct DecodedJpeg {
  bool ok = false;
  int components = 0;
  bool progressive = true;
  QuantTables quant{};
  QImage image;  // RGB32
};

namespace jpegtest {
struct Errors {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};
extern "C" inline void Fail(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<Errors*>(cinfo->err)->jump, 1);
}
inline bool Decode(const QByteArray& bytes, DecodedJpeg& out, std::vector<JSAMPLE>& pixels) {
  jpeg_decompress_struct cinfo{};
  Errors errors{};
  cinfo.err = jpeg_std_error(&errors.pub);
  errors.pub.error_exit = Fail;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.constData()),
               (unsigned long)bytes.size());
  jpeg_read_header(&cinfo, TRUE);
  out.components = cinfo.num_components;
  out.progressive = cinfo.progressive_mode;
  for (int t = 0; t < 2; ++t)
    if (cinfo.quant_tbl_ptrs[t])
      for (int i = 0; i < 64; ++i) out.quant[t][i] = cinfo.quant_tbl_ptrs[t]->quantval[i];
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  const int width = int(cinfo.output_width), height = int(cinfo.output_height);
  pixels.assign(std::size_t(width) * height * 3, 0);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = pixels.data() + std::size_t(cinfo.output_scanline) * width * 3;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  out.image = QImage(pixels.data(), width, height, width * 3, QImage::Format_RGB888)
                  .convertToFormat(QImage::Format_RGB32);
  return true;
}
}  // namespace jpegtest

inline DecodedJpeg DecodeJpeg(const QByteArray& bytes) {
  DecodedJpeg out;
  std::vector<JSAMPLE> pixels;
  out.ok = jpegtest::Decode(bytes, out, pixels);
  return out;
}

// The tables libjpeg's own jpeg_set_quality gives for quality (baseline).
inline QuantTables LibjpegTables(int quality) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  cinfo.in_color_space = JCS_RGB;
  cinfo.input_components = 3;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  QuantTables tables{};
  for (int t = 0; t < 2; ++t)
    for (int i = 0; i < 64; ++i) tables[t][i] = cinfo.quant_tbl_ptrs[t]->quantval[i];
  jpeg_destroy_compress(&cinfo);
  return tables;
}

// The markers of the file's header, in order, up to and including the first start of scan.
inline std::vector<int> HeaderMarkers(const QByteArray& bytes) {
  std::vector<int> markers;
  qsizetype i = 0;
  while (i + 1 < bytes.size() && quint8(bytes[i]) == 0xFF) {
    const int marker = quint8(bytes[i + 1]);
    markers.push_back(marker);
    if (marker == 0xD8) {
      i += 2;
      continue;
    }
    if (marker == 0xDA || i + 3 >= bytes.size()) break;
    i += 2 + (quint8(bytes[i + 2]) << 8 | quint8(bytes[i + 3]));
  }
  return markers;
}

// The largest difference of any channel between two pictures of one size (-1 if the sizes
// differ) over the inner 16 x 16 pixels of every whole 32 x 32 block (see Blocks): away from the
// blocks' edges, where JPEG smooths colour.
inline int MaxBlockInteriorDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return -1;
  const auto inner = [](int v, int size) {
    return v % 32 >= 8 && v % 32 < 24 && v - v % 32 + 24 <= size;
  };
  int worst = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      if (!inner(x, a.width()) || !inner(y, a.height())) continue;
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                        std::abs(qBlue(p) - qBlue(q))});
    }
  return worst;
}

}  // namespace slatewick
