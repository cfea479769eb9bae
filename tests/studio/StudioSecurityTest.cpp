#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "maker/ToolError.h"
#include "studio/StudioFixture.h"
#include "studio/StudioGuard.h"

namespace pixvane {
namespace {

namespace fs = std::filesystem;
using studio::PathInside;
using studio::SafeFileName;

class StudioSecurityTest : public ::testing::Test, public test::TStudioFixture {};

TEST_F(StudioSecurityTest, EveryRequestNeedsTheTokenAndALoopbackHost) {
  EXPECT_EQ(Client.Get(Path("api/project").c_str())->status, 200);
  EXPECT_EQ(Client.Get("/api/project")->status, 403);
  EXPECT_EQ(Client.Get("/t/0123456789abcdef0123456789abcdee/api/project")->status, 403);
  EXPECT_EQ(Client.Get(("/t/" + Token + "x/api/project").c_str())->status, 403);
  EXPECT_EQ(Client.Get("/t//api/project")->status, 403);
  // A page whose own name was rebound to 127.0.0.1 still sends its name.
  const std::string port = std::to_string(Port);
  for (const std::string& host :
       std::vector<std::string>{"evil.example:" + port, "127.0.0.1", "localhost:1",
                                "127.0.0.2:" + port, "localhost.evil.example:" + port, ""}) {
    auto result = Client.Get(Path("api/project").c_str(), {{"Host", host}});
    EXPECT_EQ(result->status, 403) << host;
  }
  for (const std::string& host : std::vector<std::string>{"localhost:" + port, "[::1]:" + port})
    EXPECT_EQ(Client.Get(Path("api/project").c_str(), {{"Host", host}})->status, 200) << host;
}

TEST_F(StudioSecurityTest, ChangesNeedTheTokenHeaderAndAnswersAllowNoOtherOrigin) {
  const std::string manifest = R"({"title": "changed"})";
  // What a form on another site could send: no custom header, maybe a cookie.
  for (httplib::Headers headers :
       {httplib::Headers{}, httplib::Headers{{"Cookie", "X-Pixvane-Token=" + Token}},
        httplib::Headers{{"X-Pixvane-Token", "wrong"}}}) {
    auto result = Client.Post(Path("api/save").c_str(), headers, manifest, "text/plain");
    EXPECT_EQ(result->status, 403);
  }
  auto preflight = Client.Options(Path("api/save").c_str(), {{"Origin", "https://evil.example"}});
  EXPECT_FALSE(preflight->has_header("Access-Control-Allow-Origin"));
  auto read = Client.Get(Path("api/project").c_str(), {{"Origin", "https://evil.example"}});
  EXPECT_FALSE(read->has_header("Access-Control-Allow-Origin"));
  EXPECT_EQ(Json(read)["manifest"]["title"], "project");
}

TEST_F(StudioSecurityTest, FilesOutsideTheFolderAreNeverServed) {
  Folder.Write("secret.txt", "secret");
  Folder.Write("project/pictures/a.jpg", "inside");
  EXPECT_EQ(Client.Get(Path("file/pictures/a.jpg").c_str())->body, "inside");
  for (const char* path :
       {"file/../secret.txt", "file/%2e%2e/secret.txt", "file/%2E%2E%2Fsecret.txt",
        "file/%252e%252e/secret.txt", "file/..%5csecret.txt", "file//etc/passwd",
        "file/%2fetc/passwd", "file/C:/Windows/win.ini", "file/%5c%5cserver%5cshare%5cx",
        "file/pictures/../../secret.txt", "file/NUL", "file/pictures/a.jpg%00.txt"}) {
    auto result = Client.Get(Path(path).c_str());
    ASSERT_TRUE(result) << path;
    EXPECT_GE(result->status, 400) << path;
    EXPECT_LT(result->status, 500) << path;
    EXPECT_EQ(result->body.find("secret\""), std::string::npos);
    EXPECT_NE(result->body, "secret") << path;
  }
}

TEST_F(StudioSecurityTest, HostileRequestsGetA4xxAndServingGoesOn) {
  for (const std::string& body :
       std::vector<std::string>{"", "{", "[1,2]", "\"text\"", R"({"show": {"interval": "x"}})",
                                R"({"show": {"pictures": ["../secret.jpg"]}})",
                                R"({"title": 18446744073709551615})", std::string(1, '\0')}) {
    auto result = Post(
        "api/save", body.empty() ? nlohmann::json() : nlohmann::json::parse(body, nullptr, false));
    ASSERT_TRUE(result) << body;
    EXPECT_GE(result->status, 400) << body;
    EXPECT_LT(result->status, 500) << body;
  }
  auto raw =
      Client.Post(Path("api/check").c_str(), Changing(), "{\"title\": [", "application/json");
  EXPECT_EQ(raw->status, 400);
  auto preview = Post("api/preview", {{"manifest", {{"title", "x"}}}, {"width", 1}, {"height", 1}});
  EXPECT_EQ(preview->status, 400);
  EXPECT_EQ(Client.Get(Path("preview/99999/0").c_str())->status, 410);
  EXPECT_EQ(Client.Get(Path("style/128.jpg").c_str())->status, 404);
  EXPECT_EQ(Client.Get(Path("style/0.jpg").c_str())->status, 404);
  auto upload = Client.Post((Path("api/upload") + "?to=..").c_str(), Changing(),
                            httplib::MultipartFormDataItems{{"file", "x", "a.jpg", "image/jpeg"}});
  EXPECT_EQ(upload->status, 400);
  // The saved manifest is untouched, and the server still answers.
  auto project = Client.Get(Path("api/project").c_str());
  ASSERT_EQ(project->status, 200);
  EXPECT_EQ(Json(project)["manifest"]["title"], "project");
}

TEST(StudioGuard, NamesFromRequestsStayInsideTheFolder) {
  const fs::path folder = "/project";
  EXPECT_EQ(*PathInside(folder, "pictures/a b.jpg"), folder / "pictures" / "a b.jpg");
  for (const char* name :
       {"", "..", "a/..", "../a", "/etc/passwd", "a//b", "./a", "C:/x", "C:x", "\\\\server\\share",
        "a\\..\\b", "a/b.", "con", "LPT1.txt", "con .txt", "a\tb"})
    EXPECT_FALSE(PathInside(folder, name)) << name;
  // The name arrives decoded once; "%" is then a character like any other.
  EXPECT_EQ(*PathInside(folder, "%2e%2e"), folder / "%2e%2e");
  EXPECT_EQ(*PathInside(folder, "pictures/50% off.jpg"), folder / "pictures" / "50% off.jpg");
}

TEST(StudioGuard, UploadNamesKeepWhatWindowsAllows) {
  EXPECT_EQ(SafeFileName("Br\xC3\xBC"
                         "cke am Strand.jpg"),
            "Br\xC3\xBC"
            "cke am Strand.jpg");
  EXPECT_EQ(SafeFileName("\xE5\xA4\x95\xE6\x97\xA5 sunset.jpg"),
            "\xE5\xA4\x95\xE6\x97\xA5 sunset.jpg");
  EXPECT_EQ(SafeFileName("../../etc/passwd"), "passwd");
  EXPECT_EQ(SafeFileName("C:\\Users\\me\\photo.jpg"), "photo.jpg");
  EXPECT_EQ(SafeFileName(".hidden.jpg"), "hidden.jpg");
  EXPECT_EQ(SafeFileName("a<b>:c|d?\t*.jpg"), "a_b__c_d___.jpg");
  EXPECT_EQ(SafeFileName("trailing. .jpg"), "trailing.jpg");
  EXPECT_EQ(SafeFileName("con.jpg"), "con_.jpg");
  EXPECT_EQ(SafeFileName("LPT1.tar.gz"), "LPT1_.tar.gz");
  EXPECT_EQ(SafeFileName("con .jpg"), "con_.jpg");
  EXPECT_EQ(SafeFileName("aux .x.jpg"), "aux _.x.jpg");
  // Windows would store these without their trailing dots and spaces.
  EXPECT_EQ(SafeFileName("x."), "x");
  EXPECT_EQ(SafeFileName("beach.jpg. "), "beach.jpg");
  // A dot inside words starts no extension.
  EXPECT_EQ(SafeFileName("Mr. Smith at the beach"), "Mr. Smith at the beach");
  EXPECT_EQ(SafeFileName("50% off.jpg"), "50% off.jpg");
  EXPECT_EQ(SafeFileName(".."), "");
  EXPECT_EQ(SafeFileName("bad\xFF.jpg"), "bad\xEF\xBF\xBD.jpg");
  EXPECT_EQ(SafeFileName(std::string(300, 'x') + ".jpg").size(), 124u);
  // A long name is cut between characters, never inside one.
  std::string sunsets;
  for (int i = 0; i < 50; ++i) sunsets += "\xE5\xA4\x95";
  EXPECT_EQ(SafeFileName("x" + sunsets + ".jpg"), "x" + sunsets.substr(0, 117) + ".jpg");
  EXPECT_EQ(studio::TStudioProject::SaverName("Sommer & Berge \xE2\x80\x93 Fotos von J\xC3\xB6rg"),
            "Sommer & Berge \xE2\x80\x93 Fotos von J\xC3\xB6rg.scr");
  EXPECT_EQ(studio::TStudioProject::SaverName("My/Show: 2026?"), "My_Show_ 2026_.scr");
  EXPECT_EQ(studio::TStudioProject::SaverName("Mr. Smith's holiday"), "Mr. Smith's holiday.scr");
  EXPECT_EQ(studio::TStudioProject::SaverName("Beach..."), "Beach.scr");
  EXPECT_EQ(studio::TStudioProject::SaverName(""), "pixvane.scr");
}

#ifndef _WIN32
TEST_F(StudioSecurityTest, LinksOutOfTheProjectAreNeitherServedNorUsed) {
  Folder.Write("secret.jpg", "secret");
  Folder.Write("project/pictures/real.jpg", "inside");
  fs::create_symlink(Folder / "secret.jpg", Folder / "project/pictures/link.jpg");
  fs::create_directory_symlink(Folder.Path(), Folder / "project/up");
  fs::create_symlink("real.jpg", Folder / "project/pictures/same.jpg");  // stays inside
  EXPECT_EQ(Client.Get(Path("file/pictures/same.jpg").c_str())->body, "inside");
  for (const char* path : {"file/pictures/link.jpg", "file/up/secret.jpg"})
    EXPECT_EQ(Client.Get(Path(path).c_str())->status, 400) << path;
  // A request may not bring in a file outside, by a link, a glob or its path.
  const std::string outside = (Folder / "secret.jpg").string();
  for (const std::string& picture :
       {std::string("pictures/link.jpg"), std::string("up/*.jpg"), outside}) {
    nlohmann::json manifest = {{"show", {{"pictures", {picture}}}}};
    EXPECT_NE(Json(Post("api/check", manifest)).value("problem", "").find("outside the project"),
              std::string::npos)
        << picture;
    EXPECT_EQ(Post("api/save", manifest)->status, 400) << picture;
    EXPECT_EQ(Post("api/preview", {{"manifest", manifest}, {"width", 64}, {"height", 48}})->status,
              400)
        << picture;
  }
  // What a hand-written manifest names outside stays usable.
  Folder.Write("project/pixvane.toml",
               "kind = \"photo\"\n[show]\npictures = [\"" + outside + "\"]\n");
  auto check = Post("api/check", {{"show", {{"pictures", {outside}}}}});
  EXPECT_FALSE(Json(check).contains("problem")) << check->body;
  // The upload folder itself may not lead elsewhere.
  fs::create_directory_symlink(Folder.Path(), Folder / "project/music");
  EXPECT_THROW(Project->AddFile("music", "a.wav", "RIFF"), maker::EToolError);
}
#endif

// Sends head, a request without its body, on a socket of its own and
// returns what the server answers within three seconds (empty if nothing).
std::string AnswerWithoutBody(int port, const std::string& head) {
  socket_t sock = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
#ifdef _WIN32
  DWORD wait = 3000;
#else
  timeval wait{3, 0};
#endif
  setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&wait), sizeof wait);
  std::string answer;
  if (connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      send(sock, head.data(), static_cast<int>(head.size()), 0) == static_cast<int>(head.size())) {
    char buffer[512];
    int got = recv(sock, buffer, sizeof buffer, 0);
    if (got > 0) answer.assign(buffer, static_cast<size_t>(got));
  }
#ifdef _WIN32
  closesocket(sock);
#else
  close(sock);
#endif
  return answer;
}

TEST_F(StudioSecurityTest, AnUploadDeclaredTooLargeIsRefusedBeforeItsBody) {
  // The library's own limit reads the whole body to skip it before it
  // answers; the studio answers from the header alone.
  const std::string answer = AnswerWithoutBody(
      Port, "POST " + Path("api/upload") + "?to=pictures HTTP/1.1\r\nHost: 127.0.0.1:" +
                std::to_string(Port) + "\r\nX-Pixvane-Token: " + Token +
                "\r\nContent-Type: multipart/form-data; boundary=x\r\n"
                "Content-Length: 600000000\r\n\r\n");
  EXPECT_EQ(answer.substr(0, 12), "HTTP/1.1 413") << answer;
  EXPECT_NE(answer.find("Connection: close"), std::string::npos) << answer;
  EXPECT_FALSE(fs::exists(Folder / "project/pictures"));
  EXPECT_EQ(Client.Get(Path("api/project").c_str())->status, 200);
}

TEST_F(StudioSecurityTest, APortInUseIsRefused) {
  studio::TStudioServer second(*Project, Token);
  EXPECT_THROW(second.Bind(Port), maker::EToolError);
  EXPECT_EQ(Client.Get(Path("api/project").c_str())->status, 200);
}

}  // namespace
}  // namespace pixvane
