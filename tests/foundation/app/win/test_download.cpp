// Downloads against a loopback HTTP server of the test's own (never the network);
// the server uses the host's sockets directly.
#include "common/gtest.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>

#include "foundation/app/win/HySysUtils.h"
#include "rtl/Classes.h"
#include "rtl/SysUtils.h"
#include "rtl/Thread.h"

// Defined beside the start-up tests, which see the Windows headers.
void ClearHttpProxy();

namespace {

Cardinal Ms() {
  using namespace std::chrono;
  return static_cast<Cardinal>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Answers by path: /ok 200 "hello"; /missing 404; /short a body short of its
// Content-Length; /big 20,000 bytes; /stall reads the request and says nothing
// until the client closes.
class LoopbackServer {
 public:
  LoopbackServer() {
    FListen = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    ::bind(FListen, reinterpret_cast<sockaddr*>(&a), sizeof(a));
    socklen_t len = sizeof(a);
    ::getsockname(FListen, reinterpret_cast<sockaddr*>(&a), &len);
    FPort = ntohs(a.sin_port);
    ::listen(FListen, 8);
    Cardinal id = 0;
    FThread = rtl_thread_seam::StartThread(Run, this, id);
  }
  ~LoopbackServer() {
    FStop = true;
    ::shutdown(FListen, SHUT_RDWR);
    ::close(FListen);
    rtl_thread_seam::JoinThread(FThread);
    rtl_thread_seam::CloseThread(FThread);
  }
  String Url(const char16_t* Path) const { return u"http://127.0.0.1:" + IntToStr(FPort) + Path; }

 private:
  static void Run(void* P) {
    auto* s = static_cast<LoopbackServer*>(P);
    while (!s->FStop) {
      int c = ::accept(s->FListen, nullptr, nullptr);
      if (c < 0) break;
      s->Serve(c);
      ::close(c);
    }
  }
  void SendAll(int C, const std::string& S) { ::send(C, S.data(), S.size(), MSG_NOSIGNAL); }
  void Serve(int C) {
    std::string req;
    char buf[1024];
    while (req.find("\r\n\r\n") == std::string::npos) {
      ssize_t n = ::recv(C, buf, sizeof(buf), 0);
      if (n <= 0) return;
      req.append(buf, static_cast<size_t>(n));
    }
    const std::string path = req.substr(4, req.find(' ', 4) - 4);
    if (path == "/ok") {
      SendAll(C, "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nConnection: close\r\n\r\nhello");
    } else if (path == "/short") {
      SendAll(C, "HTTP/1.1 200 OK\r\nContent-Length: 100\r\nConnection: close\r\n\r\nonly ten b");
    } else if (path == "/big") {
      SendAll(C, "HTTP/1.1 200 OK\r\nContent-Length: 20000\r\nConnection: close\r\n\r\n" + std::string(20000, 'x'));
    } else if (path == "/stall") {
      // Says nothing until the client gives up and closes, or the server stops
      // (six seconds at most).
      for (int waited = 0; waited < 6000 && !FStop; waited += 20) {
        pollfd p{C, POLLIN, 0};
        if (::poll(&p, 1, 20) > 0 && ::recv(C, buf, sizeof(buf), 0) <= 0) break;
      }
    } else {
      SendAll(C, "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\nConnection: close\r\n\r\nnot found");
    }
  }
  int FListen = -1;
  Integer FPort = 0;
  void* FThread = nullptr;
  std::atomic<bool> FStop{false};
};

class Download : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearHttpProxy();
  }
};

TEST_F(Download, AnswersAndFailures) {
  LoopbackServer server;
  struct Case {
    const char16_t* Path;
    bool Ok;
    const char* Body;  // nullptr: not checked
  } cases[] = {
      {u"/ok", true, "hello"},
      {u"/missing", false, nullptr},  // an error page is no download
      {u"/short", false, nullptr},    // fewer bytes than Content-Length
  };
  for (const Case& c : cases) {
    TMemoryStream ms;
    EXPECT_EQ(DownloadUrl(server.Url(c.Path), &ms, TDownloadProgressEvent(), nullptr, 3000), c.Ok)
        << static_cast<int>(c.Path[1]);
    if (c.Body) {
      std::string got(static_cast<size_t>(ms.Size()), '\0');
      ms.SetPosition(0);
      if (!got.empty()) ms.ReadBuffer(got.data(), static_cast<Integer>(got.size()));
      EXPECT_EQ(got, c.Body);
    }
  }
  EXPECT_EQ(GetUrlStr(server.Url(u"/ok")), u"hello");
  EXPECT_EQ(GetUrlStr(server.Url(u"/missing")), u"");
}

TEST_F(Download, ProgressReportsAndCancelStops) {
  LoopbackServer server;
  TMemoryStream ms;
  int calls = 0;
  Int64 last = 0;
  int tag = 7;
  EXPECT_TRUE(DownloadUrl(
      server.Url(u"/big"), &ms,
      [&](void* User, bool&, Int64 Size) {
        EXPECT_EQ(User, &tag);
        EXPECT_GT(Size, last);
        last = Size;
        ++calls;
      },
      &tag, 3000));
  EXPECT_EQ(ms.Size(), 20000);
  EXPECT_GE(calls, 1);
  TMemoryStream ms2;
  EXPECT_FALSE(DownloadUrl(server.Url(u"/big"), &ms2, [](void*, bool& Cancel, Int64) { Cancel = true; }, nullptr,
                           3000));
}

TEST_F(Download, RefusedAndStalledAddressesFail) {
  Cardinal start = Ms();
  TMemoryStream ms;
  EXPECT_FALSE(DownloadUrl(u"http://127.0.0.1:1/", &ms, TDownloadProgressEvent(), nullptr, 2000));
  EXPECT_EQ(GetUrlStr(u"http://127.0.0.1:1/x"), u"");
  EXPECT_LT(Ms() - start, 10000u);
  LoopbackServer server;
  start = Ms();
  EXPECT_FALSE(DownloadUrl(server.Url(u"/stall"), &ms, TDownloadProgressEvent(), nullptr, 500));
  EXPECT_LT(Ms() - start, 5000u);  // gave up before the server's pause ended
}

}  // namespace
