#include "browser/chromium/snapshot_json.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace kv {
namespace {

using Json = nlohmann::json;

std::string FrameOf(const std::string& agent)
{
    return agent == "top" ? "F1" : agent == "child" ? "F2" : "";
}

const Json kSnapshot = Json::parse(R"JSON({
  "agent": "top", "u": "http://127.0.0.1/login", "ti": "Sign in", "trunc": false,
  "nodes": [
    {"t": "INPUT", "ty": "hidden", "v": "tok", "n": "csrf", "i": "", "h": "", "f": 0, "r": 11},
    {"t": "INPUT", "ty": "password", "v": "pw", "n": "p", "i": "pid", "h": "", "f": 0, "r": 12},
    {"t": "A", "ty": "", "v": "", "n": "", "i": "", "h": "javascript:go()", "f": -1, "r": 13
}
  ],
  "all": [0, 1, 2],
  "f": [{"a": "[object]", "n": "login", "m": "post", "at": [["action", "/s"], ["name", "login"]], "r": 10, "e": [0, 1]}],
  "fr": [{"ok": false}, {"ok": true, "d": {"agent": "child", "u": "http://127.0.0.1/in", "ti": "", "nodes": [],
          "all": [], "f": [], "fr": []}}]
  })JSON");

TEST(SnapshotJson, ReadsFormsElementsAndFrames)
{
    const auto doc = ParseSnapshot(kSnapshot, "top", FrameOf);
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->frameId, "F1");
    EXPECT_EQ(doc->url, "http://127.0.0.1/login");
    ASSERT_EQ(doc->Forms.size(), 1u);
    const DomForm& form = doc->Forms[0];
    EXPECT_EQ(form.Action, "[object]");
    EXPECT_EQ(form.Attributes("Action"), "/s");
    EXPECT_FALSE(form.Attributes("method"));
    EXPECT_EQ(form.ref, (NodeRef{"F1", "top", 10}));
    ASSERT_EQ(form.elements.size(), 2u);
    EXPECT_EQ(form.elements[1].Type, "password");
    EXPECT_EQ(form.elements[1].Value, "pw");
    EXPECT_EQ(form.elements[1].id, "pid");
    EXPECT_EQ(form.elements[1].ref, (NodeRef{"F1", "top", 12}));
    ASSERT_EQ(doc->All.size(), 3u);
    EXPECT_EQ(doc->All[1].ref, form.elements[1].ref);
    EXPECT_EQ(doc->All[2].Href, "javascript:go()");
    EXPECT_EQ(doc->All[2].formIndex, -1);
    ASSERT_EQ(doc->frames.size(), 2u);
    EXPECT_FALSE(doc->frames[0].accessible);
    ASSERT_TRUE(doc->frames[1].accessible);
    EXPECT_EQ(doc->frames[1].document.frameId, "F2");
    EXPECT_EQ(doc->frames[1].document.url, "http://127.0.0.1/in");
}

TEST(SnapshotJson, MalformedPartsAreSkippedNotTrusted)
{
    Json bad = kSnapshot;
    bad["nodes"][0] = "not an element";
    bad["nodes"][1]["ty"] = 7;
    bad["all"] = Json::array({0, 1, 2, 99, -1, "x"});
    bad["f"][0]["at"] = Json::array({Json::array({"action"}), Json::array({"name", 3}), "x"});
    bad["f"][0]["e"] = Json::array({5, 0});
    bad["fr"] = Json::array({Json::array(), Json{{"ok", true}}, Json{{"ok", "yes"}, {"d", Json::object()}}});
    const auto doc = ParseSnapshot(bad, "top", FrameOf);
    ASSERT_TRUE(doc);
    ASSERT_EQ(doc->All.size(), 2u);
    EXPECT_EQ(doc->All[0].Type, "");
    EXPECT_TRUE(doc->Forms[0].attributes.empty());
    ASSERT_EQ(doc->Forms[0].elements.size(), 1u);
    ASSERT_EQ(doc->frames.size(), 3u);
    for (const auto& frame : doc->frames)
        EXPECT_FALSE(frame.accessible);

    EXPECT_FALSE(ParseSnapshot(Json::array(), "top", FrameOf));
    EXPECT_FALSE(ParseSnapshot(kSnapshot, "", FrameOf));
}

TEST(SnapshotJson, DeeplyNestedFramesStopAtALimit)
{
    Json doc = Json{{"agent", "top"}, {"fr", Json::array()}};
    for (int i = 0; i < 50; ++i)
        doc = Json{{"agent", "x"}, {"fr", Json::array({Json{{"ok", true}, {"d", doc}}})}};
    const auto parsed = ParseSnapshot(doc, "top", FrameOf);
    ASSERT_TRUE(parsed);
    int depth = 0;
    for (const DocumentSnapshot* d = &*parsed; !d->frames.empty() && d->frames[0].accessible;
         d = &d->frames[0].document)
        ++depth;
    EXPECT_LT(depth, 50);
}

} // namespace
} // namespace kv
