// Loads the bundle's module binary directly, as a VST3 host does, and checks its factory: the
// framework's two classes plus our plug-in compatibility class, and the module's export table.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wshadow"
#include <pluginterfaces/base/ibstream.h>
#include <pluginterfaces/base/ipluginbase.h>
#include <pluginterfaces/vst/vsttypes.h>
#pragma GCC diagnostic pop

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <string>

using namespace Steinberg;

// The interface as hosts know it; the SDK bundled with JUCE 7.0.5 doesn't declare it. Not in an
// anonymous namespace: GCC would see no implementation in this program and devirtualise calls
// into a pure virtual call.
namespace factory_test
{
    class IPluginCompatibility : public FUnknown
    {
    public:
        virtual tresult PLUGIN_API getCompatibilityJSON (IBStream* stream) = 0;

    protected:
        virtual ~IPluginCompatibility() = default;
    };
}

using factory_test::IPluginCompatibility;

namespace
{
    const TUID pluginCompatibilityIid = INLINE_UID (0x4AFD4B6A, 0x35D7C240, 0xA5C31414, 0xFB7D15E6);

    std::string hexOf (const char* id)
    {
        std::string hex;
        char digits[3];
        for (int i = 0; i < 16; ++i)
        {
            std::snprintf (digits, sizeof (digits), "%02X", (unsigned) (unsigned char) id[i]);
            hex += digits;
        }
        return hex;
    }

    std::string utf8Of (const char16* text)
    {
        std::string result;
        for (; *text != 0; ++text)
            result += *text < 128 ? (char) *text : '?';
        return result;
    }

    void idFromHex (const std::string& hex, TUID& id)
    {
        for (size_t i = 0; i < 16; ++i)
            id[i] = (char) std::stoi (hex.substr (i * 2, 2), nullptr, 16);
    }

    // The module loaded once for the whole run, entered as a host enters it.
    class Module
    {
    public:
        static Module& get()
        {
            static Module module;
            return module;
        }

        bool entered() const { return enteredOk; }
        void* symbol (const char* name) const { return handle != nullptr ? dlsym (handle, name) : nullptr; }

        IPluginFactory* factory() const
        {
            const auto getFactory = reinterpret_cast<IPluginFactory* (PLUGIN_API*)()> (symbol ("GetPluginFactory"));
            return getFactory != nullptr ? getFactory() : nullptr;
        }

    private:
        Module() : handle (dlopen (RUV_PLUGIN_BINARY, RTLD_NOW | RTLD_LOCAL))
        {
            if (const auto entry = reinterpret_cast<bool (*) (void*)> (symbol ("ModuleEntry")))
                enteredOk = entry (handle);
        }

        ~Module()
        {
            if (const auto exit = reinterpret_cast<bool (*)()> (symbol ("ModuleExit")))
                exit();
        }

        void* handle;
        bool enteredOk = false;
    };

    // An in-memory stream, enough for getCompatibilityJSON.
    class MemoryStream final : public IBStream
    {
    public:
        std::string data;

        tresult PLUGIN_API read (void* buffer, int32 numBytes, int32* numBytesRead) override
        {
            const auto count = std::min ((size_t) std::max (numBytes, 0), data.size() - position);
            std::memcpy (buffer, data.data() + position, count);
            position += count;
            if (numBytesRead != nullptr)
                *numBytesRead = (int32) count;
            return kResultOk;
        }

        tresult PLUGIN_API write (void* buffer, int32 numBytes, int32* numBytesWritten) override
        {
            if (numBytes < 0)
                return kInvalidArgument;
            data.replace (position, std::min ((size_t) numBytes, data.size() - position),
                          static_cast<const char*> (buffer), (size_t) numBytes);
            position += (size_t) numBytes;
            if (numBytesWritten != nullptr)
                *numBytesWritten = numBytes;
            return kResultOk;
        }

        tresult PLUGIN_API seek (int64 pos, int32 mode, int64* result) override
        {
            const int64 base = mode == kIBSeekSet ? 0 : mode == kIBSeekCur ? (int64) position : (int64) data.size();
            if (base + pos < 0 || base + pos > (int64) data.size())
                return kInvalidArgument;
            position = (size_t) (base + pos);
            return tell (result);
        }

        tresult PLUGIN_API tell (int64* pos) override
        {
            if (pos != nullptr)
                *pos = (int64) position;
            return kResultOk;
        }

        // Lives on the test's stack: reference counting is not needed.
        tresult PLUGIN_API queryInterface (const TUID, void** obj) override { *obj = nullptr; return kNoInterface; }
        uint32 PLUGIN_API addRef() override  { return 1; }
        uint32 PLUGIN_API release() override { return 1; }

    private:
        size_t position = 0;
    };

    struct ExpectedClass
    {
        const char* id;
        const char* category;
        uint32 flags;
        const char* subCategories;
    };

    constexpr ExpectedClass expectedClasses[] = {
        { "ABCDEF019182FAEB4F6B75744F6F7231", "Audio Module Class",         2, "Instrument|Synth" },
        { "ABCDEF011234ABCD4F6B75744F6F7231", "Component Controller Class", 2, "Instrument|Synth" },
        { "ABCDEF01C0DEF00D4F6B75744F6F7231", "Plugin Compatibility Class", 0, "" },
    };

    class ModuleFactory : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            ASSERT_TRUE (Module::get().entered()) << "ModuleEntry failed for " << RUV_PLUGIN_BINARY;
            auto* base = Module::get().factory();
            ASSERT_NE (base, nullptr);

            void* asFactory3 = nullptr;
            ASSERT_EQ (base->queryInterface (IPluginFactory3_iid, &asFactory3), kResultOk);
            factory = static_cast<IPluginFactory3*> (asFactory3);
            base->release();
        }

        void TearDown() override
        {
            if (factory != nullptr)
                factory->release();
        }

        IPluginFactory3* factory = nullptr;
    };
}

TEST (ModuleExports, OnlyTheVst3EntryPointsAreVisible)
{
    for (const char* name : { "GetPluginFactory", "ModuleEntry", "ModuleExit" })
        EXPECT_NE (Module::get().symbol (name), nullptr) << name;

    // JUCE's renamed factory function and the framework's plug-in creation function.
    for (const char* name : { "ruvJuceGetPluginFactory", "createPluginFilter" })
        EXPECT_EQ (Module::get().symbol (name), nullptr) << name;
}

TEST_F (ModuleFactory, PublishesTheVendorWithUnicodeClassInfo)
{
    PFactoryInfo info;
    ASSERT_EQ (factory->getFactoryInfo (&info), kResultOk);
    EXPECT_STREQ (info.vendor, "DAV Iravo");
    EXPECT_STREQ (info.url, "");
    EXPECT_STREQ (info.email, "");
    EXPECT_EQ (info.flags, (int32) PFactoryInfo::kUnicode);
}

TEST_F (ModuleFactory, ListsComponentControllerAndCompatibilityClassesInOrder)
{
    ASSERT_EQ (factory->countClasses(), (int32) std::size (expectedClasses));

    for (int32 index = 0; index < factory->countClasses(); ++index)
    {
        SCOPED_TRACE ("class " + std::to_string (index));
        const auto& expected = expectedClasses[index];

        PClassInfo info;
        ASSERT_EQ (factory->getClassInfo (index, &info), kResultOk);
        EXPECT_EQ (hexOf (info.cid), expected.id);
        EXPECT_STREQ (info.category, expected.category);
        EXPECT_STREQ (info.name, "RUV AZOZU");
        EXPECT_EQ (info.cardinality, (int32) PClassInfo::kManyInstances);

        PClassInfo2 info2;
        ASSERT_EQ (factory->getClassInfo2 (index, &info2), kResultOk);
        EXPECT_EQ (hexOf (info2.cid), expected.id);
        EXPECT_STREQ (info2.category, expected.category);
        EXPECT_STREQ (info2.name, "RUV AZOZU");
        EXPECT_EQ (info2.classFlags, expected.flags);
        EXPECT_STREQ (info2.subCategories, expected.subCategories);
        EXPECT_STREQ (info2.vendor, "DAV Iravo");
        EXPECT_STREQ (info2.version, "0.1.0");
        EXPECT_STREQ (info2.sdkVersion, kVstVersionString); // the SDK the module was built with

        PClassInfoW infoW;
        ASSERT_EQ (factory->getClassInfoUnicode (index, &infoW), kResultOk);
        EXPECT_EQ (hexOf (infoW.cid), expected.id);
        EXPECT_STREQ (infoW.category, expected.category);
        EXPECT_EQ (utf8Of (infoW.name), "RUV AZOZU");
        EXPECT_EQ (infoW.classFlags, expected.flags);
        EXPECT_STREQ (infoW.subCategories, expected.subCategories);
        EXPECT_EQ (utf8Of (infoW.vendor), "DAV Iravo");
        EXPECT_EQ (utf8Of (infoW.version), "0.1.0");
        EXPECT_EQ (utf8Of (infoW.sdkVersion), kVstVersionString);
    }
}

TEST_F (ModuleFactory, RefusesClassIndicesOutsideTheList)
{
    for (const int32 index : { -1, factory->countClasses(), factory->countClasses() + 5 })
    {
        PClassInfo info;
        PClassInfo2 info2;
        PClassInfoW infoW;
        EXPECT_EQ (factory->getClassInfo (index, &info), kInvalidArgument) << index;
        EXPECT_EQ (factory->getClassInfo2 (index, &info2), kInvalidArgument) << index;
        EXPECT_EQ (factory->getClassInfoUnicode (index, &infoW), kInvalidArgument) << index;
    }
}

TEST_F (ModuleFactory, CompatibilityInstanceReportsThatNoEarlierClassesAreReplaced)
{
    TUID classId;
    idFromHex (expectedClasses[2].id, classId);

    void* object = nullptr;
    ASSERT_EQ (factory->createInstance (classId, pluginCompatibilityIid, &object), kResultOk);
    ASSERT_NE (object, nullptr);
    auto* compatibility = static_cast<IPluginCompatibility*> (object);

    MemoryStream stream;
    EXPECT_EQ (compatibility->getCompatibilityJSON (&stream), kResultOk);
    EXPECT_EQ (stream.data, "[]");
    EXPECT_EQ (compatibility->getCompatibilityJSON (nullptr), kInvalidArgument);

    EXPECT_EQ (compatibility->release(), 0u);
}

TEST_F (ModuleFactory, CompatibilityClassAnswersOnlyItsOwnInterfaces)
{
    TUID classId;
    idFromHex (expectedClasses[2].id, classId);

    void* object = reinterpret_cast<void*> (&classId);
    EXPECT_EQ (factory->createInstance (classId, IPluginFactory_iid, &object), kNoInterface);
    EXPECT_EQ (object, nullptr);

    ASSERT_EQ (factory->createInstance (classId, FUnknown_iid, &object), kResultOk);
    auto* unknown = static_cast<FUnknown*> (object);

    void* compatibility = nullptr;
    ASSERT_EQ (unknown->queryInterface (pluginCompatibilityIid, &compatibility), kResultOk);
    EXPECT_EQ (compatibility, object);
    EXPECT_EQ (static_cast<FUnknown*> (compatibility)->release(), 1u);
    EXPECT_EQ (unknown->release(), 0u);
}

TEST_F (ModuleFactory, SharesOneFactoryAndBuildsANewOneAfterTheLastRelease)
{
    auto* again = Module::get().factory();
    EXPECT_EQ (static_cast<void*> (again), static_cast<void*> (static_cast<IPluginFactory*> (factory)));
    EXPECT_EQ (again->release(), 1u); // only the fixture's reference is left

    EXPECT_EQ (factory->release(), 0u);
    factory = nullptr;

    // A fresh factory with all three classes, the framework's rebuilt underneath.
    auto* rebuilt = Module::get().factory();
    ASSERT_NE (rebuilt, nullptr);
    EXPECT_EQ (rebuilt->countClasses(), (int32) std::size (expectedClasses));

    PClassInfo component;
    ASSERT_EQ (rebuilt->getClassInfo (0, &component), kResultOk);
    EXPECT_EQ (hexOf (component.cid), expectedClasses[0].id);
    EXPECT_EQ (rebuilt->release(), 0u);
}
