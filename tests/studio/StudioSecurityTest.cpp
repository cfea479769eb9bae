#include <gtest/gtest.h>

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
        "a\\..\\b", "a/b.", "con", "LPT1.txt", "a\tb", "%2e%2e"})
    EXPECT_FALSE(PathInside(folder, name)) << name;
}

TEST(StudioGuard, UploadNamesAreMadeSafe) {
  EXPECT_EQ(SafeFileName("Beach day.JPG"), "Beach day.JPG");
  EXPECT_EQ(SafeFileName("../../etc/passwd"), "passwd");
  EXPECT_EQ(SafeFileName("C:\\Users\\me\\photo.jpg"), "photo.jpg");
  EXPECT_EQ(SafeFileName(".hidden.jpg"), "hidden.jpg");
  EXPECT_EQ(SafeFileName("a<b>:c|d?.jpg"), "a_b__c_d_.jpg");
  EXPECT_EQ(SafeFileName("con.jpg"), "");
  EXPECT_EQ(SafeFileName(".."), "");
  EXPECT_EQ(SafeFileName(std::string(300, 'x') + ".jpg").size(), 84u);
  EXPECT_EQ(studio::TStudioProject::SaverName("My/Show: 2026?"), "My_Show_ 2026_.scr");
  EXPECT_EQ(studio::TStudioProject::SaverName(""), "pixvane.scr");
}

}  // namespace
}  // namespace pixvane
