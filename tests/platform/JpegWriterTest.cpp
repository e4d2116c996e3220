#include <QDir>
#include <QTemporaryDir>

#include "platform/AppError.h"
#include "platform/JpegWriter.h"
#include "support/FileBytes.h"
#include "support/FileSizeLimit.h"
#include "support/JpegDecode.h"
#include "support/Pictures.h"

namespace slatewick {

namespace {

TEST(JpegWriter, WritesBaselineColourWithTheQuality90Tables) {
  const QImage picture = Blocks(800, 432);
  const QByteArray bytes = EncodeJpeg(picture);

  const std::vector<int> markers = HeaderMarkers(bytes);
  ASSERT_FALSE(markers.empty());
  EXPECT_EQ(markers.front(), 0xD8);
  EXPECT_EQ(markers.back(), 0xDA);
  EXPECT_NE(std::find(markers.begin(), markers.end(), 0xC0), markers.end());
  for (int progressiveOrExtended : {0xC1, 0xC2, 0xC3})
    EXPECT_EQ(std::find(markers.begin(), markers.end(), progressiveOrExtended), markers.end());

  const DecodedJpeg decoded = DecodeJpeg(bytes);
  ASSERT_TRUE(decoded.ok);
  EXPECT_EQ(decoded.components, 3);
  EXPECT_FALSE(decoded.progressive);
  EXPECT_EQ(decoded.quant, LibjpegTables(90));
  EXPECT_NE(decoded.quant, LibjpegTables(75));
  EXPECT_EQ(decoded.image.size(), picture.size());
  EXPECT_LE(MaxBlockInteriorDifference(decoded.image, picture), 6);
  const QRgb red = decoded.image.pixel(16, 16);  // red, not blue: channels in RGB order
  EXPECT_GT(qRed(red), 240);
  EXPECT_LT(qBlue(red), 16);
}

TEST(JpegWriter, UsesTheTablesOfAnotherQualityWhenAsked) {
  const DecodedJpeg decoded = DecodeJpeg(EncodeJpeg(Blocks(64, 64), 50));
  ASSERT_TRUE(decoded.ok);
  EXPECT_EQ(decoded.quant, LibjpegTables(50));
}

TEST(JpegWriter, ALibjpegFailureBecomesAnErrorAndTheProgramGoesOn) {
  try {
    EncodeJpeg(QImage(70000, 1, QImage::Format_RGB32));
    ADD_FAILURE() << "a picture wider than JPEG allows was encoded";
  } catch (const AppError& error) {
    EXPECT_TRUE(error.Message().contains(QStringLiteral("65500"))) << error.what();
  }
  EXPECT_THROW(EncodeJpeg(QImage()), AppError);
  EXPECT_TRUE(DecodeJpeg(EncodeJpeg(Blocks(32, 32))).ok);  // libjpeg still works afterwards
}

TEST(JpegWriter, AFailedWriteLeavesTheOldFileWhole) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("shot.jpg"));
  WriteJpegFile(Blocks(64, 64), path);
  const QByteArray old = ReadBytes(path);
  ASSERT_TRUE(DecodeJpeg(old).ok);
  {
    const FileSizeLimit fullDisk(1024);
    try {
      WriteJpegFile(PatternBoard(1), path);
      ADD_FAILURE() << "a write past the disk's end succeeded";
    } catch (const AppError& error) {
      EXPECT_TRUE(error.Message().contains(SystemReason(EFBIG))) << error.what();
    }
  }
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"shot.jpg"});
}

}  // namespace

}  // namespace slatewick
