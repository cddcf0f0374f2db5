// Deeply nested documents load, write and free without recursion. Each case runs on a thread
// with a small stack, so a recursion whose depth follows the document overflows at once.
#include <gtest/gtest.h>
#include <pthread.h>

#include <functional>

#include "XMLLibLite.h"
#include "fake_platform.h"
#include "tree_dump.h"

namespace {

constexpr std::size_t kStackBytes = 512 * 1024;

void OnSmallStack(const std::function<void()>& work) {
  pthread_attr_t attributes;
  ASSERT_EQ(pthread_attr_init(&attributes), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attributes, kStackBytes), 0);
  pthread_t thread;
  auto* job = new std::function<void()>(work);
  const auto run = [](void* arg) -> void* {
    auto* f = static_cast<std::function<void()>*>(arg);
    (*f)();
    delete f;
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attributes, run, job), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
}

std::u16string Nested(int depth, const std::u16string& open, const std::u16string& close) {
  std::u16string text;
  text.reserve((open.size() + close.size()) * depth);
  for (int i = 0; i < depth; ++i) text += open;
  for (int i = 0; i < depth; ++i) text += close;
  return text;
}

int Depth(TXMLNode& top) {
  int depth = 0;
  for (TXMLNode* node = &top; node->HasChildren(); node = node->Children.Get(0)) ++depth;
  return depth;
}

class XmlDeep : public ::testing::Test {
protected:
  FakePlatform os;
  ScopedPlatform scope{os};
};

TEST_F(XmlDeep, AHundredThousandLevelsLoadAndFree) {
  const int depth = 100000;
  const std::u16string text = Nested(depth, u"<a x=\"1\">", u"</a>");
  int loaded = 0;
  OnSmallStack([&] {
    auto file = std::make_unique<TXMLFile>();
    file->LoadFromText(text);
    loaded = Depth(file->Document);
    file.reset();
  });
  EXPECT_EQ(loaded, depth);
}

TEST_F(XmlDeep, AnUnclosedChainIsFreedByClearAndByLoading) {
  const int depth = 100000;
  const std::u16string text = Nested(depth, u"<b>", u"");
  int afterClear = -1, afterReload = -1;
  OnSmallStack([&] {
    TXMLFile file;
    file.LoadFromText(text);
    TXMLNode& top = *file.Document.Children.Get(0);
    top.Children.Delete(0);
    top.Clear();
    afterClear = Depth(file.Document);
    file.LoadFromText(text);
    file.LoadFromText(u"<c/>");
    afterReload = Depth(file.Document);
  });
  EXPECT_EQ(afterClear, 1);
  EXPECT_EQ(afterReload, 1);
}

// The writer's text grows with the square of the depth (one TAB per level on every line), so
// this depth keeps it to tens of megabytes while a recursive writer would still overflow.
TEST_F(XmlDeep, ADeepDocumentIsWrittenIteratively) {
  const int depth = 4000;
  std::u16string written, readBack;
  OnSmallStack([&] {
    TXMLFile file;
    file.LoadFromText(Nested(depth, u"<a>", u"</a>"));
    written = file.SaveToText();
    TXMLFile again;
    again.LoadFromText(written);
    readBack = again.SaveToText();
  });
  std::u16string expected;
  for (int d = 0; d < depth - 1; ++d) expected += std::u16string(d, u'\t') + u"<a>\r\n";
  expected += std::u16string(depth - 1, u'\t') + u"<a/>\r\n";
  for (int d = depth - 2; d >= 0; --d) expected += std::u16string(d, u'\t') + u"</a>\r\n";
  EXPECT_TRUE(written == expected) << "written text differs (sizes " << written.size() << ", " << expected.size() << ")";
  EXPECT_TRUE(readBack == written);
}

}  // namespace
