#include "runtime/stores.h"

#include <gtest/gtest.h>

namespace rt {
namespace {

TEST(MemorySettingsStoreTest, ValuesAreAddressedByExactNames) {
  MemorySettingsStore s;
  EXPECT_EQ(s.Get("Brindlewick", "Settings", "Width"), std::nullopt);
  s.Save("Brindlewick", "Settings", "Width", " 10230");
  EXPECT_EQ(s.Get("Brindlewick", "Settings", "Width"), " 10230");
  EXPECT_EQ(s.Get("Brindlewick", "Settings", "width"), std::nullopt);
  EXPECT_EQ(s.Get("brindlewick", "Settings", "Width"), std::nullopt);
  EXPECT_EQ(s.Get("Brindlewick", "settings", "Width"), std::nullopt);
  EXPECT_EQ(s.Get("Brindlewick", "Other", "Width"), std::nullopt);
  EXPECT_EQ(s.Get("Other", "Settings", "Width"), std::nullopt);
}

TEST(MemorySettingsStoreTest, EmptyValueIsPresentAndSaveOverwrites) {
  MemorySettingsStore s;
  s.Save("Brindlewick", "Settings", "UserName", "");
  EXPECT_EQ(s.Get("Brindlewick", "Settings", "UserName"), "");
  s.Save("Brindlewick", "Settings", "UserName", "Ada");
  EXPECT_EQ(s.Get("Brindlewick", "Settings", "UserName"), "Ada");
}

TEST(MemorySettingsStoreTest, DeleteRemovesOnlyThatKey) {
  MemorySettingsStore s;
  s.Save("Brindlewick", "Settings", "Top", "1");
  s.Save("Brindlewick", "Settings", "Left", "2");
  s.Delete("Brindlewick", "Settings", "Top");
  s.Delete("Brindlewick", "Settings", "Missing");
  EXPECT_EQ(s.Get("Brindlewick", "Settings", "Top"), std::nullopt);
  EXPECT_EQ(s.Get("Brindlewick", "Settings", "Left"), "2");
}

TEST(MemoryRegistryStoreTest, KeysAndValueNamesIgnoreCase) {
  MemoryRegistryStore r;
  r.SetValue("Brindlewick.ToolWindow\\Clsid", "", "{1234}");
  EXPECT_EQ(r.GetValue("brindlewick.toolwindow\\CLSID", ""), "{1234}");
  EXPECT_TRUE(r.KeyExists("BRINDLEWICK.TOOLWINDOW\\clsid"));
  r.SetValue("CLSID\\{1234}\\InprocServer32", "ThreadingModel", "Apartment");
  EXPECT_EQ(r.GetValue("clsid\\{1234}\\inprocserver32", "threadingmodel"), "Apartment");
  // Writing through another spelling replaces the same value.
  r.SetValue("BRINDLEWICK.TOOLWINDOW\\CLSID", "", "{5678}");
  EXPECT_EQ(r.GetValue("Brindlewick.ToolWindow\\Clsid", ""), "{5678}");
}

TEST(MemoryRegistryStoreTest, DefaultValueIsTheEmptyValueName) {
  MemoryRegistryStore r;
  r.SetValue("Brindlewick.Connect", "", "Brindlewick Connect");
  r.SetValue("Brindlewick.Connect", "Other", "x");
  EXPECT_EQ(r.GetValue("Brindlewick.Connect", ""), "Brindlewick Connect");
  EXPECT_EQ(r.GetValue("Brindlewick.Connect", "Other"), "x");
  EXPECT_EQ(r.GetValue("Brindlewick.Connect", "Missing"), std::nullopt);
  EXPECT_EQ(r.GetValue("Nowhere", ""), std::nullopt);
}

TEST(MemoryRegistryStoreTest, ParentsExistWithoutValues) {
  MemoryRegistryStore r;
  r.SetValue("CLSID\\{1234}\\InprocServer32", "", "/lib/libbrindlewick.so");
  EXPECT_TRUE(r.KeyExists("CLSID"));
  EXPECT_TRUE(r.KeyExists("clsid\\{1234}"));
  EXPECT_TRUE(r.KeyExists("CLSID\\{1234}\\InprocServer32"));
  EXPECT_FALSE(r.KeyExists("CLSID\\{1234}\\Other"));
  EXPECT_FALSE(r.KeyExists("CLS"));
  EXPECT_EQ(r.GetValue("CLSID\\{1234}", ""), std::nullopt);
}

TEST(MemoryRegistryStoreTest, LeadingAndTrailingSeparatorsDoNotMatter) {
  MemoryRegistryStore r;
  r.SetValue("\\Brindlewick.Connect\\Clsid\\", "", "{1}");
  EXPECT_EQ(r.GetValue("Brindlewick.Connect\\Clsid", ""), "{1}");
  EXPECT_TRUE(r.KeyExists("\\brindlewick.connect"));
}

TEST(MemoryRegistryStoreTest, DeleteTreeRemovesTheKeyAndBelowButNotSiblingsWithACommonPrefix) {
  MemoryRegistryStore r;
  r.SetValue("Brindlewick.Connect", "", "Connect");
  r.SetValue("Brindlewick.Connect\\Clsid", "", "{1}");
  r.SetValue("Brindlewick.Connect\\Clsid\\Deeper", "v", "x");
  r.SetValue("Brindlewick.ConnectX\\Clsid", "", "{2}");
  r.SetValue("Brindlewick.ToolWindow\\Clsid", "", "{3}");
  r.DeleteTree("BRINDLEWICK.CONNECT");
  EXPECT_FALSE(r.KeyExists("Brindlewick.Connect"));
  EXPECT_FALSE(r.KeyExists("Brindlewick.Connect\\Clsid"));
  EXPECT_FALSE(r.KeyExists("Brindlewick.Connect\\Clsid\\Deeper"));
  EXPECT_EQ(r.GetValue("Brindlewick.Connect\\Clsid", ""), std::nullopt);
  EXPECT_EQ(r.GetValue("Brindlewick.ConnectX\\Clsid", ""), "{2}");
  EXPECT_EQ(r.GetValue("Brindlewick.ToolWindow\\Clsid", ""), "{3}");
  // A missing key is no error.
  r.DeleteTree("Brindlewick.Connect");
  r.DeleteTree("Nowhere\\At\\All");
  EXPECT_TRUE(r.KeyExists("Brindlewick.ConnectX"));
}

TEST(MemoryRegistryStoreTest, DeleteTreeOfAChildKeepsTheParent) {
  MemoryRegistryStore r;
  r.SetValue("CLSID\\{1}\\InprocServer32", "", "a");
  r.SetValue("CLSID\\{2}\\InprocServer32", "", "b");
  r.DeleteTree("CLSID\\{1}");
  EXPECT_TRUE(r.KeyExists("CLSID"));
  EXPECT_FALSE(r.KeyExists("CLSID\\{1}"));
  EXPECT_EQ(r.GetValue("CLSID\\{2}\\InprocServer32", ""), "b");
}

}  // namespace
}  // namespace rt
