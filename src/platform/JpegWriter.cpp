#include "platform/JpegWriter.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
// clang-format off
#include <jpeglib.h>
// clang-format on

#include "platform/AppError.h"
#include "platform/PictureFiles.h"

namespace slatewick {

namespace {

// libjpeg reports a fatal error through error_exit, which must not return: it jumps back to
// the encoder with libjpeg's message instead of ending the process.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

extern "C" void JumpOnError(j_common_ptr cinfo) {
  auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
  cinfo->err->format_message(cinfo, manager->message);
  std::longjmp(manager->jump, 1);
}

// Warnings are not printed; libjpeg counts them and goes on.
extern "C" void IgnoreMessage(j_common_ptr) {}

// Encodes rgb (Format_RGB888) into a buffer that libjpeg allocates in *out; the caller frees
// it, also after a failure. False when libjpeg failed; its message is then in manager.
// Nothing with a destructor may live in this function: a failure leaves it by longjmp.
bool Compress(const QImage& rgb, int quality, unsigned char** out, unsigned long* size,
              ErrorManager& manager) {
  jpeg_compress_struct cinfo{};
  cinfo.err = jpeg_std_error(&manager.pub);
  manager.pub.error_exit = JumpOnError;
  manager.pub.output_message = IgnoreMessage;
  if (setjmp(manager.jump)) {
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, out, size);
  cinfo.image_width = JDIMENSION(rgb.width());
  cinfo.image_height = JDIMENSION(rgb.height());
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(cinfo.next_scanline)));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

}  // namespace

QByteArray EncodeJpeg(const QImage& picture, int quality) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
  ErrorManager manager{};
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  const bool encoded = Compress(rgb, quality, &buffer, &size, manager);
  QByteArray bytes;
  if (encoded) bytes = QByteArray(reinterpret_cast<const char*>(buffer), qsizetype(size));
  std::free(buffer);
  if (!encoded)
    throw AppError(QStringLiteral("JPEG error: %1").arg(QString::fromLocal8Bit(manager.message)));
  return bytes;
}

void WriteJpegFile(const QImage& picture, const QString& path) {
  WriteFileAtomically(path, EncodeJpeg(picture));
}

}  // namespace slatewick
