#include "platform/Http.h"

#include <windows.h>
#include <wininet.h>

#include <vector>

#include "platform/Handle.h"
#include "platform/Path.h"
#include "platform/SystemDll.h"

namespace vak {

namespace {

// wininet (with the DLLs it needs) is loaded on the first download, not at
// every start.
struct Wininet {
  decltype(&InternetOpenA) open = systemFunction<decltype(&InternetOpenA)>(L"wininet.dll", "InternetOpenA");
  decltype(&InternetOpenUrlA) openUrl = systemFunction<decltype(&InternetOpenUrlA)>(L"wininet.dll", "InternetOpenUrlA");
  decltype(&InternetSetOptionA) setOption =
      systemFunction<decltype(&InternetSetOptionA)>(L"wininet.dll", "InternetSetOptionA");
  decltype(&InternetReadFile) readFile = systemFunction<decltype(&InternetReadFile)>(L"wininet.dll", "InternetReadFile");
  decltype(&HttpQueryInfoA) queryInfo = systemFunction<decltype(&HttpQueryInfoA)>(L"wininet.dll", "HttpQueryInfoA");
  decltype(&InternetCloseHandle) closeHandle =
      systemFunction<decltype(&InternetCloseHandle)>(L"wininet.dll", "InternetCloseHandle");

  bool complete() const { return open && openUrl && setOption && readFile && queryInfo && closeHandle; }
};

const Wininet& wininet() {
  static const Wininet functions;
  return functions;
}

struct InternetTraits {
  using type = HINTERNET;
  static HINTERNET invalid() { return nullptr; }
  static void close(HINTERNET h) { wininet().closeHandle(h); }
};
using InternetHandle = Handle<InternetTraits>;

// A dead server must not freeze the window for minutes.
constexpr DWORD kTimeoutMs = 20000;

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

bool isHttpUrl(const std::string& url) {
  return _strnicmp(url.c_str(), "http://", 7) == 0 || _strnicmp(url.c_str(), "https://", 8) == 0;
}

}  // namespace

HttpAnswer httpFetch(const std::string& url, std::size_t blockSize,
                     const std::function<bool(const char*, std::size_t)>& onBlock) {
  HttpAnswer answer;
  const Wininet& net = wininet();
  if (!net.complete()) return answer;
  InternetHandle root(net.open("Update", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!root.valid()) return answer;
  DWORD timeout = kTimeoutMs;
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT})
    net.setOption(root.get(), option, &timeout, sizeof timeout);
  InternetHandle request(net.openUrl(root.get(), url.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 0));
  if (!request.valid()) return answer;

  DWORD status = 0;
  DWORD length = 0;
  bool haveLength = false;
  if (isHttpUrl(url)) {
    if (queryNumber(request.get(), HTTP_QUERY_STATUS_CODE, status)) answer.status = static_cast<int>(status);
    answer.contentType = queryText(request.get(), HTTP_QUERY_CONTENT_TYPE);
    haveLength = queryNumber(request.get(), HTTP_QUERY_CONTENT_LENGTH, length);
    if (status != HTTP_STATUS_OK) {
      answer.outcome = HttpOutcome::BadStatus;
      return answer;
    }
  }

  std::vector<char> block(blockSize ? blockSize : 1);
  unsigned long long received = 0;
  for (;;) {
    // One block is filled up to its size unless the body ends first.
    std::size_t filled = 0;
    bool ended = false;
    while (filled < block.size()) {
      DWORD got = 0;
      if (!net.readFile(request.get(), block.data() + filled, static_cast<DWORD>(block.size() - filled), &got)) {
        answer.outcome = HttpOutcome::ReadFailed;
        return answer;
      }
      if (got == 0) {
        ended = true;
        break;
      }
      filled += got;
    }
    if (filled > 0) {
      received += filled;
      if (!onBlock(block.data(), filled)) {
        answer.outcome = HttpOutcome::Stopped;
        return answer;
      }
    }
    if (ended) break;
  }
  // A connection that ends early delivers fewer bytes than announced.
  answer.outcome = haveLength && received < length ? HttpOutcome::ReadFailed : HttpOutcome::Complete;
  return answer;
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
