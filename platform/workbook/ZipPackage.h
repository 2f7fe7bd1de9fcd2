#pragma once

#include <QByteArray>
#include <QString>

#include <map>
#include <memory>

typedef struct zip zip_t;

namespace platform {

// A zip package (an .xlsx or .xlsm) read from and written to memory through libzip.
class ZipPackage {
 public:
  // The most one part may hold once decompressed; a larger one is refused, whatever its
  // directory entry claims.
  static constexpr qsizetype kMaxPartBytes = qsizetype{128} << 20;

  ZipPackage();
  ~ZipPackage();
  ZipPackage(const ZipPackage&) = delete;
  ZipPackage& operator=(const ZipPackage&) = delete;

  bool Open(const QByteArray& bytes, QString* error);
  bool Has(const QString& partName) const;
  bool Read(const QString& partName, QByteArray* content, QString* error) const;

  // The package with the given parts replaced or added; every other part is copied as it was
  // stored, compressed bytes and all.
  static bool Rewrite(const QByteArray& original, const std::map<QString, QByteArray>& parts,
                      QByteArray* result, QString* error);
  // A new package of the given parts.
  static bool Build(const std::map<QString, QByteArray>& parts, QByteArray* result, QString* error);

 private:
  struct ArchiveCloser {
    void operator()(zip_t* archive) const;
  };

  QByteArray bytes_;
  std::unique_ptr<zip_t, ArchiveCloser> archive_;
};

}  // namespace platform
