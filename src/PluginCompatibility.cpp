// The module's VST3 entry point. JUCE 7.0.5's factory registers the audio component and the
// edit controller; this wrapper adds a third class, the plug-in compatibility class, whose
// instance tells hosts which earlier plug-in classes this one replaces (none). JUCE's own
// GetPluginFactory is renamed at build time (see cmake/PluginCompatibility.cmake) and wrapped.

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wshadow"
#include <pluginterfaces/base/ibstream.h>
#include <pluginterfaces/base/ipluginbase.h>
#pragma GCC diagnostic pop

#include <atomic>
#include <cstring>

// JUCE's factory entry point under the name the build gives it.
extern "C" Steinberg::IPluginFactory* PLUGIN_API ruvJuceGetPluginFactory();

namespace
{
    using namespace Steinberg;

    // Declared here because the SDK bundled with JUCE 7.0.5 (3.7.2) predates it.
    class IPluginCompatibility : public FUnknown
    {
    public:
        // Writes a JSON array of {"New": class id, "Old": [replaced class ids]} entries.
        virtual tresult PLUGIN_API getCompatibilityJSON (IBStream* stream) = 0;

    protected:
        virtual ~IPluginCompatibility() = default;
    };

    const TUID pluginCompatibilityIid = INLINE_UID (0x4AFD4B6A, 0x35D7C240, 0xA5C31414, 0xFB7D15E6);

    const TUID compatibilityClassId = INLINE_UID (0xABCDEF01, 0xC0DEF00D,
                                                  JucePlugin_ManufacturerCode, JucePlugin_PluginCode);

    constexpr const char* compatibilityCategory = "Plugin Compatibility Class";

    bool sameId (const char* a, const TUID b) noexcept
    {
        return a != nullptr && std::memcmp (a, b, sizeof (TUID)) == 0;
    }

    // Returns this object as the interface asked for, with a reference added.
    template <typename Interface, typename Object>
    tresult answer (Object& object, void** obj) noexcept
    {
        object.addRef();
        *obj = static_cast<Interface*> (&object);
        return kResultOk;
    }

    // Reference counting shared by the two objects below.
    class RefCounted
    {
    protected:
        virtual ~RefCounted() = default;

        uint32 addReference() noexcept { return ++references; }

        uint32 releaseReference() noexcept
        {
            const auto remaining = --references;
            if (remaining == 0)
                delete this;
            return remaining;
        }

    private:
        std::atomic<uint32> references { 1 };
    };

    // No earlier classes are replaced, so the list is empty (an entry with an empty "Old" list
    // is rejected by Steinberg's validator).
    class PluginCompatibility final : public IPluginCompatibility, private RefCounted
    {
    public:
        tresult PLUGIN_API getCompatibilityJSON (IBStream* stream) override
        {
            if (stream == nullptr)
                return kInvalidArgument;

            static constexpr char json[] = "[]";
            int32 written = 0;
            const auto result = stream->write (const_cast<char*> (json), 2, &written);
            return result == kResultOk && written == 2 ? kResultOk : kResultFalse;
        }

        tresult PLUGIN_API queryInterface (const TUID interfaceId, void** obj) override
        {
            if (obj == nullptr)
                return kInvalidArgument;

            if (sameId (interfaceId, pluginCompatibilityIid) || sameId (interfaceId, FUnknown_iid))
                return answer<IPluginCompatibility> (*this, obj);

            *obj = nullptr;
            return kNoInterface;
        }

        uint32 PLUGIN_API addRef() override  { return addReference(); }
        uint32 PLUGIN_API release() override { return releaseReference(); }
    };

    class CompatibleFactory;
    CompatibleFactory* moduleFactory = nullptr;

    // JUCE's factory with the compatibility class appended after its own classes. Holds one
    // reference to JUCE's factory, given back when the last reference to this one goes.
    class CompatibleFactory final : public IPluginFactory3, private RefCounted
    {
    public:
        explicit CompatibleFactory (IPluginFactory* juceFactory)
        {
            void* factory3 = nullptr;
            if (juceFactory->queryInterface (IPluginFactory3_iid, &factory3) == kResultOk)
                framework = static_cast<IPluginFactory3*> (factory3);
            juceFactory->release();
        }

        ~CompatibleFactory() override
        {
            if (framework != nullptr)
                framework->release();
            if (moduleFactory == this)
                moduleFactory = nullptr;
        }

        bool isValid() const noexcept { return framework != nullptr; }

        tresult PLUGIN_API queryInterface (const TUID interfaceId, void** obj) override
        {
            if (obj == nullptr)
                return kInvalidArgument;

            if (sameId (interfaceId, IPluginFactory3_iid)) return answer<IPluginFactory3> (*this, obj);
            if (sameId (interfaceId, IPluginFactory2_iid)) return answer<IPluginFactory2> (*this, obj);
            if (sameId (interfaceId, IPluginFactory_iid))  return answer<IPluginFactory> (*this, obj);
            if (sameId (interfaceId, FUnknown_iid))        return answer<FUnknown> (*this, obj);

            *obj = nullptr;
            return kNoInterface;
        }

        uint32 PLUGIN_API addRef() override  { return addReference(); }
        uint32 PLUGIN_API release() override { return releaseReference(); }

        tresult PLUGIN_API getFactoryInfo (PFactoryInfo* info) override { return framework->getFactoryInfo (info); }

        int32 PLUGIN_API countClasses() override { return frameworkClasses() + 1; }

        tresult PLUGIN_API getClassInfo (int32 index, PClassInfo* info) override
        {
            if (info == nullptr) return kInvalidArgument;
            if (isFrameworkClass (index)) return framework->getClassInfo (index, info);
            if (! isCompatibilityClass (index)) return kInvalidArgument;

            const auto full = compatibilityInfo();
            *info = PClassInfo (full.cid, full.cardinality, full.category, full.name);
            return kResultOk;
        }

        tresult PLUGIN_API getClassInfo2 (int32 index, PClassInfo2* info) override
        {
            if (info == nullptr) return kInvalidArgument;
            if (isFrameworkClass (index)) return framework->getClassInfo2 (index, info);
            if (! isCompatibilityClass (index)) return kInvalidArgument;

            *info = compatibilityInfo();
            return kResultOk;
        }

        tresult PLUGIN_API getClassInfoUnicode (int32 index, PClassInfoW* info) override
        {
            if (info == nullptr) return kInvalidArgument;
            if (isFrameworkClass (index)) return framework->getClassInfoUnicode (index, info);
            if (! isCompatibilityClass (index)) return kInvalidArgument;

            *info = PClassInfoW();
            info->fromAscii (compatibilityInfo());
            return kResultOk;
        }

        tresult PLUGIN_API createInstance (FIDString cid, FIDString interfaceId, void** obj) override
        {
            if (! sameId (cid, compatibilityClassId))
                return framework->createInstance (cid, interfaceId, obj);

            if (obj == nullptr || interfaceId == nullptr)
                return kInvalidArgument;

            TUID requested;
            std::memcpy (requested, interfaceId, sizeof (TUID));

            auto* instance = new PluginCompatibility();
            const auto result = instance->queryInterface (requested, obj);
            instance->release();
            return result;
        }

        tresult PLUGIN_API setHostContext (FUnknown* context) override { return framework->setHostContext (context); }

    private:
        IPluginFactory3* framework = nullptr;

        int32 frameworkClasses() { return framework->countClasses(); }
        bool isFrameworkClass (int32 index) { return index >= 0 && index < frameworkClasses(); }
        bool isCompatibilityClass (int32 index) { return index == frameworkClasses(); }

        // Name, vendor, version and SDK version as the component class (index 0) reports them.
        PClassInfo2 compatibilityInfo()
        {
            PClassInfo2 info;
            framework->getClassInfo2 (0, &info);

            std::memcpy (info.cid, compatibilityClassId, sizeof (TUID));
            info.cardinality = PClassInfo::kManyInstances;
            std::memset (info.category, 0, sizeof (info.category));
            std::strncpy (info.category, compatibilityCategory, sizeof (info.category) - 1);
            info.classFlags = 0;
            std::memset (info.subCategories, 0, sizeof (info.subCategories));
            return info;
        }
    };
}

extern "C" SMTG_EXPORT_SYMBOL IPluginFactory* PLUGIN_API GetPluginFactory()
{
    if (moduleFactory != nullptr)
    {
        moduleFactory->addRef();
        return moduleFactory;
    }

    auto* factory = new CompatibleFactory (ruvJuceGetPluginFactory());
    if (! factory->isValid())
    {
        factory->release();
        return nullptr;
    }

    moduleFactory = factory;
    return moduleFactory;
}
