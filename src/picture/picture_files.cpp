#include "picture/picture_files.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <cctype>

#include "image/bmp_file.h"
#include "image/file_io.h"

namespace nelmora {

namespace {

uint32_t readU32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Qt checks every image it allocates against a process-wide limit in MiB. The
// widest image Qt may decode into has 8 bytes a pixel (16 bits a channel), so
// this admits exactly the pictures of up to `maxPixels` pixels.
int allocationLimitMiB(int64_t maxPixels)
{
    return int(std::max<int64_t>(1, (maxPixels * 8 + (1 << 20) - 1) >> 20));
}

bool fail(std::string* error, const std::string& reason)
{
    if (error) *error = reason;
    return false;
}

const char* qtFormatName(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Png: return "png";
    case PictureFormat::Jpeg: return "jpeg";
    case PictureFormat::WebP: return "webp";
    case PictureFormat::Tiff: return "tiff";
    case PictureFormat::Bmp: break;
    }
    return "bmp";
}

// Only these plug-ins may decode: others (TGA, ICO...) recognise too many
// stray byte patterns as their own.
bool isReadableFormat(const QByteArray& format)
{
    return format == "bmp" || format == "png" || format == "jpeg" || format == "webp" || format == "tiff";
}

// The decoded picture as a 24-bit image, transparent parts shown over white.
ImagePtr toImage(const QImage& picture, std::string* error)
{
    const bool alpha = picture.hasAlphaChannel();
    // Premultiplied pixels put over white are simply color + (255 - alpha).
    const QImage source = picture.convertToFormat(alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    ImagePtr image(createImage(source.width(), source.height(), source.width() / 2, source.height() / 2, 0));
    if (source.isNull() || !image) {
        fail(error, "not enough memory for the picture");
        return nullptr;
    }
    for (int y = 0; y < source.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        uint32_t* out = image->pixels + size_t(y) * size_t(image->stride);
        for (int x = 0; x < source.width(); ++x) {
            const QRgb p = row[x];
            if (alpha) {
                const uint32_t white = 255 - uint32_t(qAlpha(p));
                out[x] = (uint32_t(qRed(p)) + white) << 16 | (uint32_t(qGreen(p)) + white) << 8 |
                         (uint32_t(qBlue(p)) + white);
            } else {
                out[x] = p & 0xFFFFFF;
            }
        }
    }
    return image;
}

ImagePtr decodeWithQt(QIODevice& device, int64_t maxPixels, std::string* error)
{
    QImageReader::setAllocationLimit(allocationLimitMiB(maxPixels));
    QImageReader reader(&device);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    if (!isReadableFormat(reader.format())) {
        fail(error, "not a BMP, PNG, JPEG, WebP or TIFF picture");
        return nullptr;
    }
    // The header's size is checked before any pixel is decoded, so a small
    // file cannot make the program allocate a huge picture.
    const QSize size = reader.size();
    if (size.isValid() && int64_t(size.width()) * size.height() > maxPixels) {
        fail(error, "the picture is too large (" + std::to_string(size.width()) + " x " +
                        std::to_string(size.height()) + " pixels; at most " + std::to_string(maxPixels) +
                        " pixels can be opened)");
        return nullptr;
    }
    QImage picture;
    if (!reader.read(&picture)) {
        fail(error, "the " + reader.format().toUpper().toStdString() + " data is damaged or unsupported (" +
                        reader.errorString().toStdString() + ")");
        return nullptr;
    }
    if (!isValidImageSize(picture.width(), picture.height()) ||
        int64_t(picture.width()) * picture.height() > maxPixels) {
        fail(error, "the picture is too large");
        return nullptr;
    }
    return toImage(picture, error);
}

std::string lowerExtension(const std::string& path)
{
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return extension;
}

QImage toQImage(const Image& image)
{
    QImage out(image.width, image.height, QImage::Format_RGB32);
    if (out.isNull()) return out;
    for (int32_t y = 0; y < image.height; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        const uint32_t* in = image.pixels + size_t(y) * size_t(image.stride);
        for (int32_t x = 0; x < image.width; ++x) row[x] = 0xFF000000u | in[x];
    }
    return out;
}

}  // namespace

PictureFormat pictureFormatForPath(const std::string& path)
{
    const std::string extension = lowerExtension(path);
    if (extension == "png") return PictureFormat::Png;
    if (extension == "jpg" || extension == "jpeg") return PictureFormat::Jpeg;
    if (extension == "webp") return PictureFormat::WebP;
    if (extension == "tif" || extension == "tiff") return PictureFormat::Tiff;
    return PictureFormat::Bmp;
}

bool isPlainBmpHeader(const uint8_t* header, size_t size)
{
    return size >= kBmpHeaderSize && header[0] == 'B' && header[1] == 'M' && readU32(header + 10) == kBmpHeaderSize &&
           readU32(header + 14) == 40 && header[28] == 24 && header[29] == 0 && readU32(header + 30) == 0;
}

ImagePtr decodePicture(const uint8_t* data, size_t size, std::string* error, int64_t maxPixels)
{
    if (isPlainBmpHeader(data, size)) {
        ImagePtr image(decodeBmp(data, size));
        if (!image) fail(error, "the BMP file is truncated, damaged or too large");
        return image;
    }
    if (size > size_t(INT32_MAX)) {
        fail(error, "the data is too large");
        return nullptr;
    }
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return decodeWithQt(buffer, maxPixels, error);
}

ImagePtr readPicture(const std::string& path, std::string* error)
{
    std::vector<uint8_t> head;
    if (!readFileHead(path, kBmpHeaderSize, head, error)) return nullptr;
    if (isPlainBmpHeader(head.data(), head.size())) {
        ImagePtr image(readBmp(path));
        if (!image) fail(error, path + ": the BMP file is truncated, damaged or too large");
        return image;
    }
    // readFileHead has refused folders, FIFOs and devices already.
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        fail(error, path + ": " + file.errorString().toStdString());
        return nullptr;
    }
    std::string reason;
    ImagePtr image = decodeWithQt(file, kMaxImagePixels, &reason);
    if (!image) fail(error, path + ": " + reason);
    return image;
}

bool encodePicture(const Image& image, PictureFormat format, std::vector<uint8_t>& bytes, std::string* error)
{
    if (!isValidImageSize(image.width, image.height) || !image.pixels) return fail(error, "the picture has no pixels");
    if (format == PictureFormat::Bmp) {
        bytes = encodeBmp(image);
        return !bytes.empty() || fail(error, "not enough memory to encode the picture");
    }
    const QImage picture = toQImage(image);
    if (picture.isNull()) return fail(error, "not enough memory to encode the picture");
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, qtFormatName(format));
    switch (format) {
    case PictureFormat::Png:
        // Qt maps 0-100 onto zlib's levels 0-9; 12 is level 1, the fastest
        // that compresses: a 4000 x 4000 painting saves in under two seconds,
        // where the default level takes several times as long.
        writer.setCompression(12);
        break;
    case PictureFormat::Jpeg: writer.setQuality(95); break;
    // Quality 100 makes the WebP encoder lossless, like PNG.
    case PictureFormat::WebP: writer.setQuality(100); break;
    // LZW: lossless and smaller than raw rows.
    case PictureFormat::Tiff: writer.setCompression(1); break;
    case PictureFormat::Bmp: break;
    }
    if (!writer.write(picture))
        return fail(error, "cannot encode the picture as " + QByteArray(qtFormatName(format)).toUpper().toStdString() +
                               " (" + writer.errorString().toStdString() + ")");
    bytes.assign(encoded.constBegin(), encoded.constEnd());
    return true;
}

bool writePicture(const Image& image, const std::string& path, std::string* error)
{
    const PictureFormat format = pictureFormatForPath(path);
    if (format == PictureFormat::Bmp) return writeBmp(image, path, error);
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!encodePicture(image, format, bytes, &reason)) return fail(error, path + ": " + reason);
    return writeFileAtomically(path, bytes, error);
}

}  // namespace nelmora
