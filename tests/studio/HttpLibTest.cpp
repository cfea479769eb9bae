// The studio's HTTP server library as each build of the tool links it: a
// server on a free loopback port answers a client of the same library, and
// stops when asked. Under Wine this holds the Winsock side of the Windows
// tool.
#include <httplib.h>

#include <gtest/gtest.h>

#include <thread>

namespace {

// Stops the server and waits for its thread on every way out of a test, so
// a failed assertion does not end the program.
struct TServing {
  httplib::Server& Server;
  std::thread Thread;
  explicit TServing(httplib::Server& server)
      : Server(server), Thread([&server] { server.listen_after_bind(); }) {}
  ~TServing() { Stop(); }
  void Stop() {
    Server.stop();
    if (Thread.joinable()) Thread.join();
  }
};

TEST(HttpLib, ServesOnAFreeLoopbackPortAndStops) {
  httplib::Server server;
  server.Post("/echo", [](const httplib::Request& request, httplib::Response& response) {
    response.set_content(request.get_header_value("X-Token") + ":" + request.body, "text/plain");
  });
  const int port = server.bind_to_any_port("127.0.0.1");
  ASSERT_GT(port, 0);
  // The socket listens from the bind on; a request waits for the loop.
  TServing serving(server);

  httplib::Client client("127.0.0.1", port);
  httplib::Result posted = client.Post("/echo", {{"X-Token", "t0k"}}, "body", "text/plain");
  ASSERT_TRUE(posted) << httplib::to_string(posted.error());
  EXPECT_EQ(posted->status, 200);
  EXPECT_EQ(posted->body, "t0k:body");
  httplib::Result missing = client.Get("/nothing");
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->status, 404);

  serving.Stop();
  EXPECT_FALSE(server.is_running());
  EXPECT_FALSE(client.Get("/echo")) << "nothing answers once the server stopped";
}

}  // namespace
