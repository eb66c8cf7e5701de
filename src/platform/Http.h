#pragma once
// HTTP downloads through WinINet, on the calling thread.
#include <cstddef>
#include <functional>
#include <string>

namespace vak {

enum class HttpOutcome {
  Complete,      // status 200 and the whole body delivered
  NoConnection,  // no Internet handle, or the address could not be opened
  BadStatus,     // the server answered with another status than 200
  ReadFailed,    // a read failed, or the body ended before its announced length
  Stopped,       // the block handler asked to stop
};

struct HttpAnswer {
  HttpOutcome outcome = HttpOutcome::NoConnection;
  int status = 0;            // HTTP status, 0 when unknown
  std::string contentType;   // Content-Type header, may be empty
  bool complete() const { return outcome == HttpOutcome::Complete; }
};

// Fetches url (agent "Update", the system's proxy settings, always from the
// server, never from the cache) and hands its body to onBlock in blocks of
// blockSize bytes (the last one may be shorter). onBlock returns false to stop
// the transfer. The body of an answer other than 200 is not delivered.
HttpAnswer httpFetch(const std::string& url, std::size_t blockSize,
                     const std::function<bool(const char* data, std::size_t size)>& onBlock);

// A file written block by block; the file is created (replacing an existing
// one) when the object is made.
class FileWriter {
 public:
  explicit FileWriter(const std::string& path);
  ~FileWriter();
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;
  bool ok() const;  // created, and every write so far succeeded
  bool write(const char* data, std::size_t size);
  void close();

 private:
  void* handle_;
  bool ok_;
};

}  // namespace vak
