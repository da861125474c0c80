#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/archive/archive.h"
#include "platform/base/file.h"

using plat::Archive;
using plat::ArchiveError;
using Bytes = std::vector<std::uint8_t>;

namespace {

ArchiveError::Kind errorKindOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const ArchiveError& e) {
    return e.kind();
  }
  ADD_FAILURE() << "no archive error";
  return ArchiveError::Kind::BadFormat;
}

Bytes prefixOf(const Bytes& b, std::size_t n) { return Bytes(b.begin(), b.begin() + static_cast<long>(n)); }

}  // namespace

TEST(Archive, ValuesAreLittleEndian) {
  Archive out;
  out.writeU16(0x1234);
  out.writeI32(-2);
  out.writeF32(1.0f);
  out.writeF64(-2.0);
  const Bytes expected = {0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x80, 0x3F,
                          0, 0, 0, 0, 0, 0, 0x00, 0xC0};
  EXPECT_EQ(out.bytes(), expected);

  Archive in{std::span<const std::uint8_t>(expected)};
  EXPECT_EQ(in.readU16(), 0x1234);
  EXPECT_EQ(in.readI32(), -2);
  EXPECT_EQ(in.readF32(), 1.0f);
  EXPECT_EQ(in.readF64(), -2.0);
  EXPECT_TRUE(in.atEnd());
  EXPECT_EQ(errorKindOf([&] { in.readU8(); }), ArchiveError::Kind::EndOfFile);
  EXPECT_EQ(errorKindOf([&] { in.writeU8(1); }), ArchiveError::Kind::NotStoring);
}

TEST(Archive, StringLengthPrefixes) {
  const struct { std::size_t length; Bytes prefix; } cases[] = {
      {0, {0x00}},
      {254, {0xFE}},
      {255, {0xFF, 0xFF, 0x00}},
      {0xFFFD, {0xFF, 0xFD, 0xFF}},
      {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
      {0x10000, {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}},
  };
  for (const auto& c : cases) {
    const std::string text(c.length, 'a');
    Archive out;
    out.writeString(text);
    ASSERT_EQ(out.bytes().size(), c.prefix.size() + c.length);
    EXPECT_EQ(prefixOf(out.bytes(), c.prefix.size()), c.prefix) << c.length;
    Archive in(std::span<const std::uint8_t>(out.bytes()));
    EXPECT_EQ(in.readString(), text);
    EXPECT_TRUE(in.atEnd());
  }
}

TEST(Archive, WideStringsAreMarkedAndReadInEitherWidth) {
  Archive out;
  out.writeString16(u"\u00e9A");
  const Bytes expected = {0xFF, 0xFE, 0xFF, 0x02, 0xE9, 0x00, 0x41, 0x00};
  EXPECT_EQ(out.bytes(), expected);
  Archive in{std::span<const std::uint8_t>(expected)};
  EXPECT_EQ(in.readString(), "\xC3\xA9" "A");  // as UTF-8
  Archive in16{std::span<const std::uint8_t>(expected)};
  EXPECT_EQ(in16.readString16(), u"\u00e9A");

  Archive narrow;
  narrow.writeString("ab");
  Archive narrowIn(std::span<const std::uint8_t>(narrow.bytes()));
  EXPECT_EQ(narrowIn.readString16(), u"ab");
}

TEST(Archive, LengthsBeyondTheInputFailCleanly) {
  // A 32-bit length of 4 GB - 2 with three bytes behind it.
  const Bytes huge = {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c'};
  Archive a{std::span<const std::uint8_t>(huge)};
  EXPECT_EQ(errorKindOf([&] { a.readString(); }), ArchiveError::Kind::EndOfFile);
  const Bytes wideHuge = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x40};
  Archive b{std::span<const std::uint8_t>(wideHuge)};
  EXPECT_EQ(errorKindOf([&] { b.readString(); }), ArchiveError::Kind::EndOfFile);
  // The 64-bit length form is refused.
  const Bytes sixtyFour = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  Archive c{std::span<const std::uint8_t>(sixtyFour)};
  EXPECT_EQ(errorKindOf([&] { c.readString(); }), ArchiveError::Kind::BadFormat);

  const Bytes count = {0x10, 0, 0, 0, 1, 2, 3, 4};
  Archive d{std::span<const std::uint8_t>(count)};
  EXPECT_EQ(errorKindOf([&] { d.readCount(100, 4); }), ArchiveError::Kind::EndOfFile);
  const Bytes negative = {0xFF, 0xFF, 0xFF, 0xFF};
  Archive e{std::span<const std::uint8_t>(negative)};
  EXPECT_EQ(errorKindOf([&] { e.readCount(100, 1); }), ArchiveError::Kind::BadFormat);
}

namespace {

struct Node : plat::ArchiveObject {
  std::int32_t value = 0;
  Node* next = nullptr;
  static plat::ArchiveClassRegistry* registry;
  const char* archiveClassName() const override { return "CNode"; }
  void serialize(Archive& ar) override {
    if (ar.isStoring()) {
      ar.writeI32(value);
      ar.writeObject(next);
    } else {
      value = ar.readI32();
      next = static_cast<Node*>(ar.readObject(*registry));
    }
  }
};
plat::ArchiveClassRegistry* Node::registry = nullptr;

struct Leaf : plat::ArchiveObject {
  const char* archiveClassName() const override { return "CLeaf"; }
  std::uint16_t archiveSchema() const override { return 3; }
  void serialize(Archive&) override {}
};

plat::ArchiveClassRegistry makeRegistry() {
  plat::ArchiveClassRegistry r;
  r.add("CNode", 1, [] { return std::make_unique<Node>(); });
  r.add("CLeaf", 3, [] { return std::make_unique<Leaf>(); });
  return r;
}

}  // namespace

TEST(ArchiveObjects, NewClassTagsClassTagsAndBackReferences) {
  Node a, b;
  a.value = 7;
  b.value = 8;
  a.next = &b;
  b.next = &a;  // a cycle: b refers back to a
  Leaf leaf1, leaf2;
  Archive out;
  out.writeObject(&a);
  out.writeObject(&leaf1);
  out.writeObject(&leaf2);
  out.writeObject(nullptr);
  const Bytes expected = {
      0xFF, 0xFF, 0x01, 0x00, 0x05, 0x00, 'C', 'N', 'o', 'd', 'e',  // new class CNode (index 1)
      0x07, 0x00, 0x00, 0x00,                                        // a (index 2): value 7
      0x01, 0x80,                                                    // class 1 again: b (index 3)
      0x08, 0x00, 0x00, 0x00,                                        // value 8
      0x02, 0x00,                                                    // b.next: object 2 (a)
      0xFF, 0xFF, 0x03, 0x00, 0x05, 0x00, 'C', 'L', 'e', 'a', 'f',  // new class CLeaf (index 4)
      0x04, 0x80,                                                    // leaf1 is 5; leaf2: class 4
      0x00, 0x00,                                                    // null
  };
  EXPECT_EQ(out.bytes(), expected);

  plat::ArchiveClassRegistry registry = makeRegistry();
  Node::registry = &registry;
  Archive in(std::span<const std::uint8_t>(out.bytes()));
  auto* ra = dynamic_cast<Node*>(in.readObject(registry));
  ASSERT_NE(ra, nullptr);
  EXPECT_EQ(ra->value, 7);
  ASSERT_NE(ra->next, nullptr);
  EXPECT_EQ(ra->next->value, 8);
  EXPECT_EQ(ra->next->next, ra);
  auto* l1 = in.readObject(registry);
  auto* l2 = in.readObject(registry);
  EXPECT_NE(l1, l2);
  EXPECT_NE(dynamic_cast<Leaf*>(l2), nullptr);
  EXPECT_EQ(in.readObject(registry), nullptr);
  EXPECT_TRUE(in.atEnd());
}

TEST(ArchiveObjects, NestedArchivesNumberTheirOwnObjectsOnTheOuterBytes) {
  Leaf leaf;
  Archive out;
  out.writeObject(&leaf);  // CLeaf is class 1 of the outer archive, the leaf object 2
  {
    Archive nested(Archive::Nested{}, out);
    nested.writeObject(&leaf);  // new to the nested archive: the class again, from index 1
    nested.writeU8(0x5A);
  }
  out.writeObject(&leaf);  // the outer one's back reference
  Archive alone;
  alone.writeObject(&leaf);
  Bytes expected(out.bytes().begin(), out.bytes().begin() + 11);
  expected.insert(expected.end(), alone.bytes().begin(), alone.bytes().end());
  expected.insert(expected.end(), {0x5A, 0x02, 0x00});
  EXPECT_EQ(out.bytes(), expected);

  // Loading: the nested archive reads on from where the outer one stands, and the outer one
  // moves past what it read; a borrowing archive reads the bytes where they lie.
  plat::ArchiveClassRegistry registry = makeRegistry();
  const Bytes stored = out.takeBytes();
  EXPECT_TRUE(out.bytes().empty());
  Archive in(Archive::Borrow{}, stored);
  plat::ArchiveObject* first = in.readObject(registry);
  {
    Archive nested(Archive::Nested{}, in);
    EXPECT_NE(nested.readObject(registry), first);
    EXPECT_EQ(nested.readU8(), 0x5A);
  }
  EXPECT_EQ(in.readObject(registry), first);
  EXPECT_TRUE(in.atEnd());
  Archive shortNested(Archive::Borrow{}, std::span<const std::uint8_t>(stored).first(12));
  shortNested.skip(11);
  Archive nested(Archive::Nested{}, shortNested);
  EXPECT_EQ(errorKindOf([&] { nested.readObject(registry); }), ArchiveError::Kind::EndOfFile);
}

TEST(Archive, BlocksHandedOverGiveTheSameBytesAsCopiedOnes) {
  // A large block with room in front is taken over (what was stored moves before it); a small
  // one, or one without room, is copied: the bytes are the same either way.
  for (const std::size_t size : {std::size_t(100), std::size_t(3) << 20}) {
    for (const bool room : {false, true}) {
      Bytes block(size);
      for (std::size_t i = 0; i < size; ++i) block[i] = static_cast<std::uint8_t>(i * 7);
      if (room) block.reserve(size + 64);
      Archive copied, handed;
      for (Archive* a : {&copied, &handed}) {
        a->writeU32(0xA1B2C3D4u);
        a->writeString("head");
      }
      copied.writeBytes(block.data(), block.size());
      handed.writeBytes(std::move(block));
      copied.writeU16(7);
      handed.writeU16(7);
      EXPECT_EQ(handed.bytes(), copied.bytes()) << size << room;
    }
  }
}

TEST(ArchiveObjects, CorruptObjectStreamsFailCleanly) {
  plat::ArchiveClassRegistry registry = makeRegistry();
  Node::registry = &registry;
  const struct { Bytes bytes; ArchiveError::Kind kind; } cases[] = {
      {{0x05, 0x00}, ArchiveError::Kind::BadFormat},                                // object never read
      {{0x01, 0x80}, ArchiveError::Kind::BadFormat},                                // class never read
      {{0xFF, 0xFF, 0x01, 0x00, 0x03, 0x00, 'C', 'X', 'Y'}, ArchiveError::Kind::BadClass},
      {{0xFF, 0xFF, 0x02, 0x00, 0x05, 0x00, 'C', 'N', 'o', 'd', 'e'}, ArchiveError::Kind::BadSchema},
      {{0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00}, ArchiveError::Kind::BadClass},          // empty name
      {{0xFF, 0xFF, 0x01, 0x00, 0x40, 0x00, 'C'}, ArchiveError::Kind::EndOfFile},
      {{0xFF, 0x7F, 0x09, 0x00, 0x00, 0x80}, ArchiveError::Kind::BadFormat},          // big class tag
  };
  for (const auto& c : cases) {
    Archive in{std::span<const std::uint8_t>(c.bytes)};
    EXPECT_EQ(errorKindOf([&] { in.readObject(registry); }), c.kind);
  }
  // A chain of new objects deeper than the nesting limit.
  Archive deep;
  std::vector<Node> nodes(100);
  for (std::size_t i = 0; i + 1 < nodes.size(); ++i) nodes[i].next = &nodes[i + 1];
  deep.writeObject(&nodes[0]);
  Archive in(std::span<const std::uint8_t>(deep.bytes()));
  EXPECT_EQ(errorKindOf([&] { in.readObject(registry); }), ArchiveError::Kind::TooDeep);
}

TEST(Archive, FilesRoundTripAndMissingFilesFail) {
  const char* scratch = std::getenv("KEDRUS_TEST_SCRATCH");
  const std::string dir = scratch ? scratch : "/tmp";
  plat::makeDirectories(dir);
  Archive out;
  out.writeString("saved");
  ASSERT_TRUE(out.saveFile(dir + "/archive_test.bin"));
  std::unique_ptr<Archive> in;
  ASSERT_TRUE(Archive::loadFile(dir + "/archive_test.bin", &in));
  EXPECT_EQ(in->readString(), "saved");
  EXPECT_FALSE(Archive::loadFile(dir + "/no_such_file.bin", &in));
}
