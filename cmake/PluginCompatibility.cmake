# The VST3 module's third factory class (plug-in compatibility), added around JUCE's factory:
# JUCE's GetPluginFactory is renamed in the one framework file that defines it, our
# src/PluginCompatibility.cpp exports the real entry point, and a version script keeps the
# renamed one (and everything else but the VST3 entry points) out of the export table.
get_target_property (juceModules juce::juce_audio_plugin_client INTERFACE_JUCE_MODULE_PATH)

set_property (SOURCE "${juceModules}/juce_audio_plugin_client/juce_audio_plugin_client_VST3.cpp"
              TARGET_DIRECTORY RuvAzozu_VST3
              APPEND PROPERTY COMPILE_DEFINITIONS GetPluginFactory=ruvJuceGetPluginFactory)

target_sources (RuvAzozu_VST3 PRIVATE "${PROJECT_SOURCE_DIR}/src/PluginCompatibility.cpp")

set (vst3ExportsMap "${PROJECT_SOURCE_DIR}/src/PluginExports.map")
target_link_options (RuvAzozu_VST3 PRIVATE "LINKER:--version-script=${vst3ExportsMap}")
set_property (TARGET RuvAzozu_VST3 APPEND PROPERTY LINK_DEPENDS "${vst3ExportsMap}")
