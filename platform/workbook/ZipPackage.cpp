#include "platform/workbook/ZipPackage.h"

#include <zip.h>

#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

QString ZipErrorText(zip_error_t* error) { return QString::fromUtf8(zip_error_strerror(error)); }

QString ArchiveErrorText(zip_t* archive) { return QString::fromUtf8(zip_strerror(archive)); }

struct SourceFree {
  void operator()(zip_source_t* source) const { zip_source_free(source); }
};
using SourcePtr = std::unique_ptr<zip_source_t, SourceFree>;

// A buffer source over `bytes`. A source that an archive writes into gets a copy of its own:
// on commit libzip frees the buffer it read from.
SourcePtr NewBufferSource(const QByteArray& bytes, bool writable, QString* error) {
  const auto size = static_cast<zip_uint64_t>(bytes.size());
  void* data = nullptr;
  if (writable && size > 0) {
    data = std::malloc(size);
    if (data == nullptr) {
      *error = QStringLiteral("not enough memory");
      return nullptr;
    }
    std::memcpy(data, bytes.constData(), size);
  }
  const void* buffer = writable ? data : bytes.constData();
  zip_error_t zipError;
  zip_error_init(&zipError);
  zip_source_t* source =
      zip_source_buffer_create(size > 0 ? buffer : nullptr, size, writable ? 1 : 0, &zipError);
  if (source == nullptr) {
    *error = ZipErrorText(&zipError);
    std::free(data);
  }
  zip_error_fini(&zipError);
  return SourcePtr(source);
}

bool ReadSource(zip_source_t* source, QByteArray* result, QString* error) {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_source_stat(source, &stat) != 0 || zip_source_open(source) != 0) {
    *error = ZipErrorText(zip_source_error(source));
    return false;
  }
  result->resize(static_cast<qsizetype>(stat.size));
  const zip_int64_t got = zip_source_read(source, result->data(), stat.size);
  zip_source_close(source);
  if (got != static_cast<zip_int64_t>(stat.size)) {
    *error = QStringLiteral("the package could not be written");
    return false;
  }
  return true;
}

bool AddParts(zip_t* archive, const std::map<QString, QByteArray>& parts, QString* error) {
  for (const auto& [name, content] : parts) {
    zip_source_t* data =
        zip_source_buffer(archive, content.constData(), static_cast<zip_uint64_t>(content.size()), 0);
    if (data == nullptr ||
        zip_file_add(archive, name.toUtf8().constData(), data, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
      *error = ArchiveErrorText(archive);
      zip_source_free(data);
      return false;
    }
  }
  return true;
}

bool WriteArchive(const QByteArray& original, int flags, const std::map<QString, QByteArray>& parts,
                  QByteArray* result, QString* error) {
  SourcePtr source = NewBufferSource(original, true, error);
  if (!source) return false;
  zip_error_t zipError;
  zip_error_init(&zipError);
  zip_t* archive = zip_open_from_source(source.get(), flags, &zipError);
  if (archive == nullptr) {
    *error = ZipErrorText(&zipError);
    zip_error_fini(&zipError);
    return false;
  }
  zip_error_fini(&zipError);
  zip_source_keep(source.get());  // the result is read from it after zip_close
  if (!AddParts(archive, parts, error)) {
    zip_discard(archive);
    return false;
  }
  if (zip_close(archive) != 0) {
    *error = ArchiveErrorText(archive);
    zip_discard(archive);
    return false;
  }
  return ReadSource(source.get(), result, error);
}

}  // namespace

void ZipPackage::ArchiveCloser::operator()(zip_t* archive) const { zip_discard(archive); }

ZipPackage::ZipPackage() = default;
ZipPackage::~ZipPackage() = default;

bool ZipPackage::Open(const QByteArray& bytes, QString* error) {
  bytes_ = bytes;
  SourcePtr source = NewBufferSource(bytes_, false, error);
  if (!source) return false;
  zip_error_t zipError;
  zip_error_init(&zipError);
  zip_t* archive = zip_open_from_source(source.get(), ZIP_RDONLY | ZIP_CHECKCONS, &zipError);
  if (archive == nullptr) {
    *error = ZipErrorText(&zipError);
    zip_error_fini(&zipError);
    return false;
  }
  zip_error_fini(&zipError);
  source.release();  // the archive owns it now
  archive_.reset(archive);
  return true;
}

bool ZipPackage::Has(const QString& partName) const {
  return zip_name_locate(archive_.get(), partName.toUtf8().constData(), ZIP_FL_NOCASE) >= 0;
}

bool ZipPackage::Read(const QString& partName, QByteArray* content, QString* error) const {
  content->clear();
  zip_file_t* file = zip_fopen(archive_.get(), partName.toUtf8().constData(), ZIP_FL_NOCASE);
  if (file == nullptr) {
    *error = QStringLiteral("the part %1 is missing (%2)").arg(partName, ArchiveErrorText(archive_.get()));
    return false;
  }
  char buffer[65536];
  zip_int64_t got = 0;
  while ((got = zip_fread(file, buffer, sizeof buffer)) > 0 && content->size() <= kMaxPartBytes)
    content->append(buffer, static_cast<qsizetype>(got));
  if (got < 0)
    *error = QStringLiteral("the part %1 is damaged (%2)")
                 .arg(partName, QString::fromUtf8(zip_file_strerror(file)));
  zip_fclose(file);
  if (content->size() > kMaxPartBytes) {
    *error = QStringLiteral("the part %1 is larger than %2 bytes").arg(partName).arg(kMaxPartBytes);
    content->clear();
    return false;
  }
  return got == 0;
}

bool ZipPackage::Rewrite(const QByteArray& original, const std::map<QString, QByteArray>& parts,
                         QByteArray* result, QString* error) {
  return WriteArchive(original, 0, parts, result, error);
}

bool ZipPackage::Build(const std::map<QString, QByteArray>& parts, QByteArray* result, QString* error) {
  return WriteArchive(QByteArray(), ZIP_CREATE | ZIP_TRUNCATE, parts, result, error);
}

}  // namespace platform
