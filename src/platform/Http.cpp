#include "platform/Http.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <condition_variable>
#include <cwchar>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "platform/Path.h"
#include "platform/SystemDll.h"

namespace vak {

namespace {

// wininet (with the DLLs it needs) is loaded on the first download, not at
// every start.
struct Wininet {
  decltype(&InternetOpenA) open = systemFunction<decltype(&InternetOpenA)>(L"wininet.dll", "InternetOpenA");
  decltype(&InternetOpenUrlA) openUrl = systemFunction<decltype(&InternetOpenUrlA)>(L"wininet.dll", "InternetOpenUrlA");
  decltype(&InternetQueryDataAvailable) dataAvailable =
      systemFunction<decltype(&InternetQueryDataAvailable)>(L"wininet.dll", "InternetQueryDataAvailable");
  decltype(&InternetReadFile) readFile = systemFunction<decltype(&InternetReadFile)>(L"wininet.dll", "InternetReadFile");
  decltype(&HttpQueryInfoA) queryInfo = systemFunction<decltype(&HttpQueryInfoA)>(L"wininet.dll", "HttpQueryInfoA");
  decltype(&InternetCombineUrlA) combineUrl =
      systemFunction<decltype(&InternetCombineUrlA)>(L"wininet.dll", "InternetCombineUrlA");
  decltype(&InternetCloseHandle) closeHandle =
      systemFunction<decltype(&InternetCloseHandle)>(L"wininet.dll", "InternetCloseHandle");

  bool complete() const {
    return open && openUrl && dataAvailable && readFile && queryInfo && combineUrl && closeHandle;
  }
};

const Wininet& wininet() {
  static const Wininet functions;
  return functions;
}

constexpr int kMaxRedirects = 10;
// One read of the worker: at most what has arrived, so a slow server's bytes
// are handed on as they come.
constexpr DWORD kReadSize = 16 * 1024;
// Bytes the worker may hold before it waits for the calling thread to take them.
constexpr std::size_t kQueueLimit = 64 * 1024;
// The calling thread looks at the clock at least this often.
constexpr DWORD kPollMs = 100;

unsigned long limitMs(const wchar_t* variable, unsigned long fallback) {
  wchar_t value[16] = {};
  const DWORD n = GetEnvironmentVariableW(variable, value, 16);
  if (n == 0 || n >= 16) return fallback;
  wchar_t* end = nullptr;
  const unsigned long ms = std::wcstoul(value, &end, 10);
  return *end == L'\0' && ms > 0 ? ms : fallback;
}

bool isHttpUrl(const std::string& url) {
  return _strnicmp(url.c_str(), "http://", 7) == 0 || _strnicmp(url.c_str(), "https://", 8) == 0;
}

bool isRedirect(DWORD status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool queryNumber(HINTERNET request, DWORD what, DWORD& value) {
  DWORD size = sizeof value;
  DWORD index = 0;
  return wininet().queryInfo(request, what | HTTP_QUERY_FLAG_NUMBER, &value, &size, &index) != 0;
}

std::string queryText(HINTERNET request, DWORD what) {
  std::vector<char> buf(256);
  for (;;) {
    DWORD size = static_cast<DWORD>(buf.size());
    DWORD index = 0;
    if (wininet().queryInfo(request, what, buf.data(), &size, &index)) return std::string(buf.data(), size);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || buf.size() > 65536) return std::string();
    buf.resize(static_cast<std::size_t>(size) + 1);
  }
}

// A redirect's Location (absolute or relative) against the address it came from.
std::string combinedUrl(const std::string& base, const std::string& location) {
  std::vector<char> buf(1024);
  for (;;) {
    DWORD size = static_cast<DWORD>(buf.size());
    if (wininet().combineUrl(base.c_str(), location.c_str(), buf.data(), &size, 0)) return std::string(buf.data(), size);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || buf.size() > 65536) return std::string();
    buf.resize(std::max<std::size_t>(buf.size() * 2, static_cast<std::size_t>(size) + 1));
  }
}

// What the worker thread and the waiting thread share. Each holds it through
// a shared_ptr, so a worker that was given up on still finds it; the worker
// touches nothing else.
struct Transfer {
  Transfer(std::string address, bool needLength)
      : url(std::move(address)), requireLength(needLength), wake(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
  ~Transfer() {
    if (wake) CloseHandle(wake);
  }
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;

  const std::string url;
  const bool requireLength;
  const HANDLE wake;  // set by the worker when it has handed over bytes or has finished

  std::mutex lock;
  std::condition_variable roomMade;  // bytes were taken, or the transfer was cancelled
  // Guarded by `lock`. A handle is closed by the one who takes it out of here.
  HINTERNET root = nullptr;
  HINTERNET request = nullptr;
  bool cancelled = false;  // given up: the waiting thread closes the handles, the worker uses none again
  bool finished = false;   // the worker is done and `answer` is final
  bool inCall = false;     // a WinINet call waits for the server...
  ULONGLONG callStarted = 0;  // ...since then
  std::string bytes;          // received, not yet taken
  HttpAnswer answer;
};

// ------------------------------------------------------------ the worker

// Runs one WinINet call with the handles as they are; false when the
// transfer was cancelled before or during it. A cancel that closes the
// handles just before the call starts leaves it an invalid handle. (Only if
// another transfer got the same handle value within those few instructions
// would this one call read from it: that transfer would then miss bytes and
// fail its length check, it could not take bytes of this one.)
template <typename Call>
bool blockingCall(Transfer& t, Call&& call) {
  HINTERNET root = nullptr;
  HINTERNET request = nullptr;
  {
    std::lock_guard<std::mutex> hold(t.lock);
    if (t.cancelled) return false;
    t.inCall = true;
    t.callStarted = GetTickCount64();
    root = t.root;
    request = t.request;
  }
  call(root, request);
  std::lock_guard<std::mutex> hold(t.lock);
  t.inCall = false;
  return !t.cancelled;
}

// Keeps a handle the worker has just opened in `slot`, where a cancel finds
// it; after a cancel the handle is the worker's alone to close.
bool keep(Transfer& t, HINTERNET Transfer::*slot, HINTERNET handle) {
  {
    std::lock_guard<std::mutex> hold(t.lock);
    if (!t.cancelled) {
      t.*slot = handle;
      return true;
    }
  }
  wininet().closeHandle(handle);
  return false;
}

void finish(Transfer& t, HttpOutcome outcome) {
  HINTERNET root = nullptr;
  HINTERNET request = nullptr;
  {
    std::lock_guard<std::mutex> hold(t.lock);
    t.answer.outcome = outcome;
    t.finished = true;
    root = std::exchange(t.root, nullptr);
    request = std::exchange(t.request, nullptr);
  }
  if (request) wininet().closeHandle(request);
  if (root) wininet().closeHandle(root);
  SetEvent(t.wake);
}

void transfer(Transfer& t) {
  const Wininet& net = wininet();
  HINTERNET root = nullptr;
  if (!blockingCall(t, [&](HINTERNET, HINTERNET) {
        root = net.open("Update", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
      })) {
    if (root) net.closeHandle(root);
    return;
  }
  if (!root) return finish(t, HttpOutcome::NoConnection);
  if (!keep(t, &Transfer::root, root)) return;

  // Redirects are followed here, not by WinINet, which follows a loop for ever.
  std::string url = t.url;
  DWORD length = 0;
  bool haveLength = false;
  for (int redirects = 0;; ++redirects) {
    HINTERNET opened = nullptr;
    if (!blockingCall(t, [&](HINTERNET r, HINTERNET) {
          opened = net.openUrl(r, url.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_AUTO_REDIRECT, 0);
        })) {
      if (opened) net.closeHandle(opened);
      return;
    }
    if (!opened) return finish(t, HttpOutcome::NoConnection);
    if (!keep(t, &Transfer::request, opened)) return;
    if (!isHttpUrl(url)) break;

    DWORD status = 0;
    std::string type, location;
    if (!blockingCall(t, [&](HINTERNET, HINTERNET request) {
          if (!queryNumber(request, HTTP_QUERY_STATUS_CODE, status)) status = 0;
          type = queryText(request, HTTP_QUERY_CONTENT_TYPE);
          haveLength = queryNumber(request, HTTP_QUERY_CONTENT_LENGTH, length);
          if (isRedirect(status)) location = queryText(request, HTTP_QUERY_LOCATION);
        }))
      return;
    {
      std::lock_guard<std::mutex> hold(t.lock);
      t.answer.status = static_cast<int>(status);
      t.answer.contentType = type;
    }
    if (isRedirect(status) && !location.empty()) {
      if (redirects == kMaxRedirects) return finish(t, HttpOutcome::BadRedirect);
      url = combinedUrl(url, location);
      if (!isHttpUrl(url)) return finish(t, HttpOutcome::BadRedirect);
      HINTERNET previous = nullptr;
      {
        std::lock_guard<std::mutex> hold(t.lock);
        if (t.cancelled) return;
        previous = std::exchange(t.request, nullptr);
      }
      net.closeHandle(previous);
      continue;
    }
    if (status != HTTP_STATUS_OK) return finish(t, HttpOutcome::BadStatus);
    break;
  }

  // Asked first how much has arrived: a read of more would wait until all of
  // it came (WinINet fills a synchronous read), however slowly it drips in.
  std::vector<char> buf(kReadSize);
  unsigned long long received = 0;
  for (;;) {
    DWORD available = 0;
    BOOL ok = FALSE;
    if (!blockingCall(t, [&](HINTERNET, HINTERNET request) { ok = net.dataAvailable(request, &available, 0, 0); }))
      return;
    if (!ok) return finish(t, HttpOutcome::ReadFailed);
    const DWORD wanted = available > 0 && available < kReadSize ? available : kReadSize;
    DWORD got = 0;
    if (!blockingCall(t, [&](HINTERNET, HINTERNET request) { ok = net.readFile(request, buf.data(), wanted, &got); }))
      return;
    if (!ok) return finish(t, HttpOutcome::ReadFailed);
    if (got == 0) break;
    received += got;
    std::unique_lock<std::mutex> hold(t.lock);
    t.bytes.append(buf.data(), got);
    SetEvent(t.wake);
    t.roomMade.wait(hold, [&] { return t.cancelled || t.bytes.size() < kQueueLimit; });
    if (t.cancelled) return;
  }
  // A connection that ends early delivers fewer bytes than announced.
  const bool whole = haveLength ? received == length : !t.requireLength;
  finish(t, whole ? HttpOutcome::Complete : HttpOutcome::ReadFailed);
}

// The worker thread of one transfer. Given up on (stopped, timed out, or
// left by an exception of a callback), it is cancelled: its handles are
// closed from here ("If a thread is blocking a call to Wininet.dll, another
// thread in the application can call InternetCloseHandle on the Internet
// handle being used by the first thread to cancel the operation and unblock
// the first thread."). Wine's WinINet lets such a call go on until the
// server ends the connection (it then fails with ERROR_INVALID_HANDLE), so
// the thread is left to end on its own; after the cancel it uses no handle.
class Worker {
 public:
  explicit Worker(std::shared_ptr<Transfer> t) : t_(std::move(t)) {
    try {
      thread_ = std::thread([t = t_] {
        try {
          transfer(*t);
        } catch (...) {
          finish(*t, HttpOutcome::ReadFailed);
        }
      });
    } catch (const std::system_error&) {
    }
  }
  ~Worker() {
    if (thread_.joinable()) cancel();
  }
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;

  bool started() const { return thread_.joinable(); }
  void join() { thread_.join(); }

  void cancel() {
    HINTERNET root = nullptr;
    HINTERNET request = nullptr;
    bool finished = false;
    {
      std::lock_guard<std::mutex> hold(t_->lock);
      t_->cancelled = true;
      root = std::exchange(t_->root, nullptr);
      request = std::exchange(t_->request, nullptr);
      finished = t_->finished;
    }
    t_->roomMade.notify_all();
    if (request) wininet().closeHandle(request);
    if (root) wininet().closeHandle(root);
    if (finished)
      thread_.join();
    else
      thread_.detach();
  }

 private:
  std::shared_ptr<Transfer> t_;
  std::thread thread_;
};

}  // namespace

HttpAnswer httpFetch(const std::string& url, const HttpOptions& options,
                     const std::function<bool(const char*, std::size_t)>& onBlock,
                     const std::function<bool()>& keepGoing) {
  if (!wininet().complete()) return HttpAnswer{};
  auto t = std::make_shared<Transfer>(url, options.requireLength);
  if (!t->wake) return HttpAnswer{};
  Worker worker(t);
  if (!worker.started()) return HttpAnswer{};

  const unsigned long stallMs = limitMs(L"VAK_HTTP_STALL_MS", kHttpStallMs);
  const unsigned long totalMs = options.totalLimitMs ? limitMs(L"VAK_HTTP_TOTAL_MS", options.totalLimitMs) : 0;
  const ULONGLONG start = GetTickCount64();
  const std::size_t blockSize = options.blockSize ? options.blockSize : 1;
  auto givenUp = [&](HttpOutcome why) {
    HttpAnswer answer;
    {
      std::lock_guard<std::mutex> hold(t->lock);
      answer = t->answer;
    }
    answer.outcome = why;
    worker.cancel();
    return answer;
  };

  std::string pending;  // taken from the worker, not yet handed on
  for (;;) {
    bool finished = false;
    bool stalled = false;
    HttpAnswer answer;
    {
      std::lock_guard<std::mutex> hold(t->lock);
      pending += t->bytes;
      t->bytes.clear();
      finished = t->finished;
      stalled = t->inCall && GetTickCount64() - t->callStarted >= stallMs;
      if (finished) answer = t->answer;
    }
    t->roomMade.notify_one();
    // Whole blocks as they fill up, the rest once the body has ended.
    std::size_t at = 0;
    while (pending.size() - at >= blockSize || (finished && at < pending.size())) {
      const std::size_t n = std::min(blockSize, pending.size() - at);
      if (!onBlock(pending.data() + at, n) || !keepGoing()) return givenUp(HttpOutcome::Stopped);
      at += n;
    }
    pending.erase(0, at);
    if (finished) {
      worker.join();
      return answer;
    }
    if (stalled || (totalMs && GetTickCount64() - start >= totalMs)) return givenUp(HttpOutcome::TimedOut);
    if (!keepGoing()) return givenUp(HttpOutcome::Stopped);
    MsgWaitForMultipleObjectsEx(1, &t->wake, kPollMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

FileWriter::FileWriter(const std::string& path)
    : handle_(CreateFileW(widePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                          nullptr)),
      ok_(handle_ != INVALID_HANDLE_VALUE) {}

FileWriter::~FileWriter() { close(); }

bool FileWriter::ok() const { return ok_; }

bool FileWriter::write(const char* data, std::size_t size) {
  if (!ok_) return false;
  DWORD written = 0;
  if (!WriteFile(handle_, data, static_cast<DWORD>(size), &written, nullptr) || written != size) ok_ = false;
  return ok_;
}

void FileWriter::close() {
  if (handle_ != INVALID_HANDLE_VALUE) {
    if (!CloseHandle(handle_)) ok_ = false;
    handle_ = INVALID_HANDLE_VALUE;
  }
}

}  // namespace vak
