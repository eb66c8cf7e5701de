#pragma once
// A small HTTP server on 127.0.0.1 for the tests: Winsock threads of the test
// process answer GET requests from a table of replies, each connection on a
// thread of its own (a stalled answer holds up no other).
#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vaktest {

class TestServer {
 public:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  struct Reply {
    int status = 200;
    std::string body;
    std::string contentType = "text/plain";
    // Announces the whole body but ends the connection after this many bytes.
    // With `chunked`: the chunks of these bytes, then the end without the last chunk.
    std::size_t cutAfter = npos;
    // Waits this long after the first 1024 bytes (a slow transfer).
    int pauseMs = 0;
    // Sends nothing more after this many bytes of the body and keeps the
    // connection open, until the server ends (a stalled transfer).
    std::size_t holdAfter = npos;
    // Reads the request and sends nothing at all, not even the headers.
    bool holdBeforeHeaders = false;
    // A drip: dripBytes bytes of the body every dripMs.
    std::size_t dripBytes = 0;
    int dripMs = 0;
    // How the body's end shows: a Content-Length (the default), chunks of
    // 1000 bytes with a last chunk, or only the end of the connection.
    bool chunked = false;
    bool withLength = true;
    // A redirect: status 302 with this Location (and no body).
    std::string location = "";
  };

  TestServer();   // listens on a free port
  ~TestServer();  // stops, and ends every held connection
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
  void send(unsigned long long socket, const Reply& reply);
  // Waits ms (-1: until the server ends); false when the server ends.
  bool hold(int ms);

  unsigned long long listener_;
  void* stopping_;  // an event, set when the server ends
  int port_ = 0;
  mutable std::mutex mutex_;
  std::map<std::string, Reply> replies_;
  std::vector<std::string> requests_;
  std::vector<std::thread> connections_;
  std::thread thread_;
};

// VAK_UPDATE_SERVER for this process and the programs it starts; empty removes it.
void setUpdateServer(const std::string& url);
// An environment variable for this process and the programs it starts; empty removes it.
void setEnvironment(const std::string& name, const std::string& value);

}  // namespace vaktest
