#pragma once
// A small HTTP server on 127.0.0.1 for the tests: a Winsock thread of the
// test process answers GET requests from a table of replies.
#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vaktest {

class TestServer {
 public:
  struct Reply {
    int status = 200;
    std::string body;
    std::string contentType = "text/plain";
    // Announces the whole body but ends the connection after this many bytes.
    std::size_t cutAfter = std::string::npos;
    // Waits this long after the first 1024 bytes (a slow transfer).
    int pauseMs = 0;
  };

  TestServer();   // listens on a free port
  ~TestServer();  // stops
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  void set(const std::string& path, Reply reply);
  void set(const std::string& path, const std::string& body) { set(path, Reply{200, body}); }
  // "http://127.0.0.1:{port}"
  std::string url() const;
  // Paths requested so far, in order.
  std::vector<std::string> requests() const;
  int count(const std::string& path) const;

  // An address where nothing listens.
  static std::string deadUrl();

 private:
  void serve();
  void answer(unsigned long long socket);

  unsigned long long listener_;
  int port_ = 0;
  mutable std::mutex mutex_;
  std::map<std::string, Reply> replies_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// VAK_UPDATE_SERVER for this process and the programs it starts; empty removes it.
void setUpdateServer(const std::string& url);

}  // namespace vaktest
