#include "TestServer.h"

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace vaktest {

namespace {

void winsockUp() {
  static const bool up = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  if (!up) throw std::runtime_error("WSAStartup failed");
}

bool sendAll(SOCKET s, const char* data, std::size_t size) {
  while (size > 0) {
    const int n = send(s, data, static_cast<int>(size), 0);
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

const char* reason(int status) {
  switch (status) {
    case 200: return "OK";
    case 302: return "Found";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
  }
}

}  // namespace

TestServer::TestServer() : stopping_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  winsockUp();
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) throw std::runtime_error("socket failed");
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  if (bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(s, 16) != 0) {
    closesocket(s);
    throw std::runtime_error("bind/listen failed");
  }
  int len = sizeof addr;
  getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
  port_ = ntohs(addr.sin_port);
  listener_ = s;
  thread_ = std::thread([this] { serve(); });
}

TestServer::~TestServer() {
  SetEvent(stopping_);
  closesocket(static_cast<SOCKET>(listener_));
  if (thread_.joinable()) thread_.join();
  for (std::thread& c : connections_) c.join();
  CloseHandle(stopping_);
}

void TestServer::set(const std::string& path, Reply reply) {
  std::lock_guard<std::mutex> lock(mutex_);
  replies_[path] = std::move(reply);
}

std::string TestServer::url() const { return "http://127.0.0.1:" + std::to_string(port_); }

std::vector<std::string> TestServer::requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

int TestServer::count(const std::string& path) const {
  int n = 0;
  for (const std::string& p : requests())
    if (p == path) ++n;
  return n;
}

std::string TestServer::deadUrl() {
  winsockUp();
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  int len = sizeof addr;
  getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
  closesocket(s);  // bound, never listened: nothing answers there
  return "http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port));
}

bool TestServer::hold(int ms) {
  return WaitForSingleObject(stopping_, ms < 0 ? INFINITE : static_cast<DWORD>(ms)) == WAIT_TIMEOUT;
}

void TestServer::serve() {
  for (;;) {
    SOCKET c = accept(static_cast<SOCKET>(listener_), nullptr, nullptr);
    if (c == INVALID_SOCKET) return;  // the listener was closed
    std::lock_guard<std::mutex> lock(mutex_);
    connections_.emplace_back([this, c] {
      answer(c);
      shutdown(c, SD_SEND);
      closesocket(c);
    });
  }
}

void TestServer::answer(unsigned long long socketValue) {
  const SOCKET c = static_cast<SOCKET>(socketValue);
  std::string request;
  char buf[2048];
  while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
    const int n = recv(c, buf, sizeof buf, 0);
    if (n <= 0) return;
    request.append(buf, static_cast<std::size_t>(n));
  }
  const std::size_t sp1 = request.find(' ');
  const std::size_t sp2 = request.find(' ', sp1 + 1);
  std::string path = sp1 == std::string::npos ? "" : request.substr(sp1 + 1, sp2 - sp1 - 1);
  Reply reply;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(path);
    auto it = replies_.find(path);
    if (it == replies_.end())
      reply = Reply{404, "<html><body><h1>404 Not Found</h1></body></html>", "text/html"};
    else
      reply = it->second;
  }
  send(socketValue, reply);
}

void TestServer::send(unsigned long long socketValue, const Reply& reply) {
  const SOCKET c = static_cast<SOCKET>(socketValue);
  if (reply.holdBeforeHeaders) {
    hold(-1);
    return;
  }
  const std::size_t size = reply.body.size();
  std::string head = "HTTP/1.1 " + std::to_string(reply.location.empty() ? reply.status : 302) + " " +
                     reason(reply.location.empty() ? reply.status : 302) + "\r\nContent-Type: " + reply.contentType +
                     "\r\n";
  if (!reply.location.empty())
    head += "Location: " + reply.location + "\r\nContent-Length: 0\r\n";
  else if (reply.chunked)
    head += "Transfer-Encoding: chunked\r\n";
  else if (reply.withLength)
    head += "Content-Length: " + std::to_string(size) + "\r\n";
  head += "Connection: close\r\n\r\n";
  if (!sendAll(c, head.data(), head.size()) || !reply.location.empty()) return;

  // The body's bytes in the order and pace asked for; chunked, each piece is a chunk.
  const std::size_t sent = std::min(std::min(reply.cutAfter, reply.holdAfter), size);
  auto piece = [&](std::size_t from, std::size_t n) {
    if (n == 0) return true;
    if (!reply.chunked) return sendAll(c, reply.body.data() + from, n);
    char line[16];
    std::snprintf(line, sizeof line, "%zx\r\n", n);
    const std::string chunk = line + reply.body.substr(from, n) + "\r\n";
    return sendAll(c, chunk.data(), chunk.size());
  };
  std::size_t at = 0;
  const std::size_t step = reply.dripBytes ? reply.dripBytes : reply.chunked ? 1000 : std::max<std::size_t>(sent, 1);
  while (at < sent) {
    if (reply.pauseMs > 0 && at == 1024 && !hold(reply.pauseMs)) return;
    std::size_t n = std::min(step, sent - at);
    if (reply.pauseMs > 0 && at < 1024) n = std::min(n, 1024 - at);
    if (!piece(at, n)) return;
    at += n;
    if (reply.dripBytes && at < sent && !hold(reply.dripMs)) return;
  }
  if (reply.holdAfter != npos) {
    hold(-1);
    return;
  }
  if (reply.chunked && reply.cutAfter == npos) sendAll(c, "0\r\n\r\n", 5);
}

void setEnvironment(const std::string& name, const std::string& value) {
  const std::string assignment = name + "=" + value;
  _putenv(assignment.c_str());
  SetEnvironmentVariableA(name.c_str(), value.empty() ? nullptr : value.c_str());
}

void setUpdateServer(const std::string& url) { setEnvironment("VAK_UPDATE_SERVER", url); }

}  // namespace vaktest
