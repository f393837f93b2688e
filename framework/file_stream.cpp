#include "framework/file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "runtime/file_name_case.h"
#include "runtime/message_format.h"

namespace nitko {

namespace {

int OpenFlags(unsigned mode) {
  if (mode == fmCreate) return O_RDWR | O_CREAT | O_TRUNC;
  switch (mode & 3) {
    case fmOpenWrite: return O_WRONLY;
    case fmOpenReadWrite: return O_RDWR;
    default: return O_RDONLY;
  }
}

}  // namespace

TFileStream::TFileStream(const std::string& fileName, unsigned mode) : fileName_(fileName) {
  fd_ = open(fileName.c_str(), OpenFlags(mode) | O_CLOEXEC, 0666);
  int error = fd_ < 0 ? errno : 0;
  struct stat st;
  if (fd_ >= 0 && fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
    close(fd_);
    fd_ = -1;
    error = EISDIR;
  }
  if (fd_ >= 0) return;
  if (mode == fmCreate) throw EFCreateError(Failure(SFCreateError, error));
  throw EFOpenError(Failure(SFOpenError, error));
}

TFileStream::~TFileStream() {
  if (fd_ >= 0) close(fd_);
}

std::string TFileStream::Failure(const char* pattern, int error) const {
  return FormatMessage(pattern, {DisplayFileName(fileName_), std::string(std::strerror(error))});
}

long long TFileStream::Read(void* buffer, long long count) {
  long long done = 0;
  while (done < count) {
    const ssize_t n = read(fd_, static_cast<char*>(buffer) + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw EStreamError(Failure(SFReadError, errno));
    if (n == 0) break;
    done += n;
  }
  return done;
}

// A system write may take less than asked: the rest follows, so a long text
// is written whole.
long long TFileStream::Write(const void* buffer, long long count) {
  long long done = 0;
  while (done < count) {
    const ssize_t n =
        write(fd_, static_cast<const char*>(buffer) + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw EStreamError(Failure(SFWriteError, errno));
    done += n;
  }
  return done;
}

long long TFileStream::Seek(long long offset, TSeekOrigin origin) {
  const int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET
                     : origin == TSeekOrigin::soCurrent ? SEEK_CUR
                                                        : SEEK_END;
  const off_t at = lseek(fd_, static_cast<off_t>(offset), whence);
  if (at < 0) throw EStreamError(SSeekError);
  return at;
}

void TFileStream::SetSize(long long size) {
  if (size < 0) throw EStreamError(SSeekError);
  if (ftruncate(fd_, static_cast<off_t>(size)) != 0) throw EStreamError(Failure(SFWriteError, errno));
  if (Position() > size) SetPosition(size);
}

long long TFileStream::Size() {
  struct stat st;
  if (fstat(fd_, &st) != 0) throw EStreamError(Failure(SFReadError, errno));
  return st.st_size;
}

}  // namespace nitko
