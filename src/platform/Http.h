#pragma once
// HTTP downloads through WinINet. The blocking WinINet calls run on a worker
// thread; the calling (user-interface) thread waits for their bytes and keeps
// its window messages running meanwhile.
#include <cstddef>
#include <functional>
#include <string>

namespace vak {

enum class HttpOutcome {
  Complete,      // status 200 and the whole body delivered
  NoConnection,  // no Internet handle, or the address could not be opened
  BadStatus,     // the server answered with another status than 200
  BadRedirect,   // more redirects than allowed, or one to an address that is not http(s)
  ReadFailed,    // a read failed, or the body was not delivered whole (see HttpOptions)
  TimedOut,      // no new byte for too long, or more than the whole transfer may take
  Stopped,       // the caller asked to stop
};

struct HttpAnswer {
  HttpOutcome outcome = HttpOutcome::NoConnection;
  int status = 0;            // HTTP status of the last answer, 0 when unknown
  std::string contentType;   // Content-Type header, may be empty
  bool complete() const { return outcome == HttpOutcome::Complete; }
};

struct HttpOptions {
  std::size_t blockSize = 1024;
  // A body counts as whole only when the server announced its length and
  // sent exactly that much. WinINet ends a chunked body that the connection
  // cut off, and a body that ends with the connection, exactly as a whole
  // one, so only a Content-Length tells a cut-off body apart. Without this,
  // a body without a length is taken as it came.
  bool requireLength = false;
  // The whole transfer must be done within this time (0: no limit).
  unsigned long totalLimitMs = 0;
};

// Without a new byte from the server for this long a transfer fails (also
// while waiting for the answer's headers). The environment variable
// VAK_HTTP_STALL_MS replaces it, and VAK_HTTP_TOTAL_MS replaces a caller's
// totalLimitMs (for tests).
constexpr unsigned long kHttpStallMs = 20000;

// Fetches url (agent "Update", the system's proxy settings, always from the
// server, never from the cache; at most 10 redirects, each to an http or
// https address) and hands its body to onBlock in blocks of blockSize bytes
// (the last one may be shorter); onBlock returns false to stop. The body of
// an answer other than 200 is not delivered.
//
// Both callbacks run on the calling thread. keepGoing is called after every
// block and whenever window messages wait or the wait times out: it lets the
// caller's messages run (its own dispatch) and returns false to stop the
// transfer. A stopped or timed-out transfer returns at once, even when a
// WinINet call is still blocked on the worker thread.
HttpAnswer httpFetch(const std::string& url, const HttpOptions& options,
                     const std::function<bool(const char* data, std::size_t size)>& onBlock,
                     const std::function<bool()>& keepGoing);

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
