#include "TestServer.h"

#include <winsock2.h>
#include <windows.h>

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
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
  }
}

}  // namespace

TestServer::TestServer() {
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
  closesocket(static_cast<SOCKET>(listener_));
  if (thread_.joinable()) thread_.join();
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

void TestServer::serve() {
  for (;;) {
    SOCKET c = accept(static_cast<SOCKET>(listener_), nullptr, nullptr);
    if (c == INVALID_SOCKET) return;  // the listener was closed
    answer(c);
    shutdown(c, SD_SEND);
    closesocket(c);
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
  std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " " + reason(reply.status) + "\r\n" +
                     "Content-Type: " + reply.contentType + "\r\nContent-Length: " +
                     std::to_string(reply.body.size()) + "\r\nConnection: close\r\n\r\n";
  if (!sendAll(c, head.data(), head.size())) return;
  const std::size_t sent = reply.cutAfter < reply.body.size() ? reply.cutAfter : reply.body.size();
  std::size_t first = sent;
  if (reply.pauseMs > 0 && first > 1024) first = 1024;
  if (!sendAll(c, reply.body.data(), first)) return;
  if (first < sent) {
    Sleep(static_cast<DWORD>(reply.pauseMs));
    sendAll(c, reply.body.data() + first, sent - first);
  }
}

void setUpdateServer(const std::string& url) {
  const std::string assignment = "VAK_UPDATE_SERVER=" + url;
  _putenv(assignment.c_str());
  SetEnvironmentVariableA("VAK_UPDATE_SERVER", url.empty() ? nullptr : url.c_str());
}

}  // namespace vaktest
