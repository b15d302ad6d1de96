#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/addon.h"
#include "storage/object_store.h"
#include "support/loaded_host.h"
#include "test_packages.h"

namespace {

using lunvik::ObjectStore;
using store_test::ListPackage;
using store_test::MapPackage;
using store_test::PlainPackage;
using platform::fourcc;

// Counts the package change events the store publishes.
class ChangeListener : public lunvik::Subscriber {
 public:
  explicit ChangeListener(uint32_t code) : code_(code) {}
  lunvik::EventSpec spec() const override { return lunvik::EventSpec(code_, 0); }
  bool takeEvent(lunvik::Event&) override {
    ++heard;
    return true;
  }
  int heard = 0;

 private:
  uint32_t code_;
};

class ObjectStoreTest : public testing_support::LoadedHost {
 protected:
  // A store holding the three test packages with their defaults.
  std::unique_ptr<ObjectStore> filledStore() {
    auto store = std::make_unique<ObjectStore>("lunvikPreferenceStore");
    store->add(PlainPackage());
    store->add(ListPackage());
    store->add(MapPackage());
    return store;
  }
  std::string text(ObjectStore& store) {
    std::string out;
    EXPECT_TRUE(store.writeText(out));
    return out;
  }
};

TEST_F(ObjectStoreTest, WritesPackagesInCodeOrderWithoutAnEnclosingElement) {
  auto store = filledStore();
  auto* list = static_cast<ListPackage*>(store->get(fourcc("LSTP")));
  list->add("Tenon", 0.1);
  static_cast<MapPackage*>(store->get(fourcc("MAPP")))->costs.put(2.5, 36);
  EXPECT_EQ(text(*store),
            "<listPrefs>\n\t<itemList>\n\t\t<item>\n\t\t\t<name>Tenon</name>\n\t\t\t<length>0.1</length>\n"
            "\t\t</item>\n\t</itemList>\n</listPrefs>\n"
            "<mapPrefs>\n\t<costList>\n\t\t<cost>\n\t\t\t<keyLength>2.5</keyLength>\n\t\t\t<value>36</value>\n"
            "\t\t</cost>\n\t</costList>\n</mapPrefs>\n"
            "<plainPrefs>\n\t<width>0.25</width>\n\t<flag>true</flag>\n\t<name>Untitled</name>\n"
            "\t<count>3</count>\n</plainPrefs>\n");
  std::vector<uint32_t> codes{fourcc("PLNP"), fourcc("LSTP")};
  std::string some;
  ASSERT_TRUE(store->writeText(some, &codes));
  EXPECT_EQ(some.rfind("<plainPrefs>", 0), 0u);
  EXPECT_NE(some.find("<listPrefs>"), std::string::npos);
  EXPECT_EQ(some.find("<mapPrefs>"), std::string::npos);
}

TEST_F(ObjectStoreTest, ReadClearsEveryPackageAndSkipsUnknownElements) {
  auto store = filledStore();
  std::string data =
      "<unknownPrefs><a>1</a><b><c/></b></unknownPrefs>\n"
      "<plainPrefs><name>Oak</name></plainPrefs>\n";
  ASSERT_TRUE(store->read(data.data(), data.size()));
  auto* plain = static_cast<PlainPackage*>(store->get(fourcc("PLNP")));
  EXPECT_EQ(plain->name.str(), "Oak");
  // Fields absent from the text come back in their reset state.
  EXPECT_EQ(plain->width, 0.0);
  EXPECT_FALSE(plain->flag);
  EXPECT_EQ(store->count(), 3u);
}

TEST_F(ObjectStoreTest, ATextThatDoesNotReadEmptiesTheStore) {
  auto store = filledStore();
  std::string bad = "<plainPrefs><name>Oak</nam></plainPrefs>";
  EXPECT_FALSE(store->read(bad.data(), bad.size()));
  EXPECT_EQ(store->count(), 0u);
  EXPECT_EQ(store->name().str(), "lunvikPreferenceStore");
  // No text at all empties and succeeds.
  auto other = filledStore();
  EXPECT_TRUE(other->read(nullptr, 0));
  EXPECT_EQ(other->count(), 0u);
}

// Module data that does not read, as small files: the store is emptied and tells which
// package did not read, so the caller can say so instead of passing defaults off as read.
TEST_F(ObjectStoreTest, HostileModuleDataIsRefusedAndNamesItsPackage) {
  struct Case {
    const char* file;
    const char* package;  // empty: the failure lies outside every package
  } cases[] = {{"truncated.xml", "listPrefs"},     {"nan.xml", "plainPrefs"},
               {"infinite.xml", "listPrefs"},      {"overflow.xml", "mapPrefs"},
               {"mismatched-tag.xml", "listPrefs"}, {"stray-end-tag.xml", ""}};
  for (const Case& c : cases) {
    std::ifstream file(std::string(TRESTLAR_FIXTURES "/storage/unread/") + c.file, std::ios::binary);
    ASSERT_TRUE(file) << c.file;
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    auto store = filledStore();
    EXPECT_FALSE(store->read(bytes.data(), bytes.size())) << c.file;
    EXPECT_TRUE(store->unread()) << c.file;
    EXPECT_EQ(store->unreadPackage().str(), c.package) << c.file;
    EXPECT_EQ(store->count(), 0u) << c.file;
  }
  // A text that reads, and no text at all, are not unread.
  auto store = filledStore();
  std::string good = "<plainPrefs><width>0.5</width></plainPrefs>";
  EXPECT_TRUE(store->read(good.data(), good.size()));
  EXPECT_FALSE(store->unread());
  EXPECT_TRUE(store->read(nullptr, 0));
  EXPECT_FALSE(store->unread());
}

TEST_F(ObjectStoreTest, AddReplacesButTheSameObjectOnlyNotifies) {
  ObjectStore store("lunvikPreferenceStore");
  ChangeListener listener(fourcc("PLNP"));
  lunvik::theAddon()->subscribe(&listener);
  PlainPackage first;
  first.name = "First";
  store.add(first, true);
  PlainPackage* stored = static_cast<PlainPackage*>(store.get(fourcc("PLNP")));
  ASSERT_NE(stored, &first);
  EXPECT_EQ(stored->name.str(), "First");
  store.add(*stored, true);
  EXPECT_EQ(store.get(fourcc("PLNP")), stored);
  PlainPackage second;
  second.name = "Second";
  store.add(second, false);
  EXPECT_EQ(static_cast<PlainPackage*>(store.get(fourcc("PLNP")))->name.str(), "Second");
  lunvik::theAddon()->unsubscribe(&listener);
  EXPECT_EQ(listener.heard, 2);
}

TEST_F(ObjectStoreTest, MergeKeepsPackagesTheIncomingDataLacks) {
  auto project = filledStore();
  static_cast<ListPackage*>(project->get(fourcc("LSTP")))->add("Tenon2", 0.1);
  static_cast<PlainPackage*>(project->get(fourcc("PLNP")))->name = "Mine";
  ObjectStore incoming("lunvikPreferenceStore");
  ListPackage list;
  list.add("Tenon2", 0.5);
  list.add("Scarf", 0.2);
  incoming.add(list);
  project->merge(incoming);
  auto& items = static_cast<ListPackage*>(project->get(fourcc("LSTP")))->items.items();
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].length, 0.1);
  EXPECT_EQ(items[1].name.str(), "Scarf");
  EXPECT_EQ(static_cast<PlainPackage*>(project->get(fourcc("PLNP")))->name.str(), "Mine");

  // A package only the incoming store has is added.
  ObjectStore empty("lunvikPreferenceStore");
  empty.merge(incoming);
  EXPECT_NE(empty.get(fourcc("LSTP")), nullptr);
}

TEST_F(ObjectStoreTest, ModuleDataRoundTripsThroughTheHost) {
  auto store = filledStore();
  auto* plain = static_cast<PlainPackage*>(store->get(fourcc("PLNP")));
  plain->width = 1.0 / 3.0;
  plain->name = "A & B <c>";
  plain->pieces = -7;
  ASSERT_TRUE(store->save());
  EXPECT_NE(host().moduleData().find("<width>0.333333</width>"), std::string::npos);
  auto back = filledStore();
  ASSERT_TRUE(back->load());
  auto* read = static_cast<PlainPackage*>(back->get(fourcc("PLNP")));
  EXPECT_DOUBLE_EQ(read->width, 0.333333);
  EXPECT_EQ(read->name.str(), "A & B <c>");
  EXPECT_EQ(read->pieces, -7);
  EXPECT_EQ(host().memory().liveHandles(), 0u);
}

TEST_F(ObjectStoreTest, LoadingWithoutModuleDataEmptiesTheStore) {
  host().setModuleData("");
  auto store = filledStore();
  EXPECT_FALSE(store->load());
  EXPECT_EQ(store->count(), 0u);
}

}  // namespace
