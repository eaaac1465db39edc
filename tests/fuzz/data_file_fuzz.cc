// Any bytes as a configuration data file: the reader must refuse or load without fault, a
// refused file must leave the model as it was, and a loaded one must save and load back to the
// same model.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "files/data_file.h"
#include "model/devices.h"
#include "support/recording_prompter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view contents(reinterpret_cast<const char*>(data), size);
  tarn::testing::RecordingPrompter prompter;
  tarn::DeviceConfiguration config;
  config.pins[7].description = "before";
  const tarn::DeviceConfiguration before = config;
  if (!tarn::ReadDataFile(contents, config, prompter)) {
    if (!(config == before)) std::abort();
    return 0;
  }
  if (!tarn::AllDevicePointersValid(config)) std::abort();
  for (const tarn::DataFileForm form : {tarn::DataFileForm::kFull, tarn::DataFileForm::kCompact}) {
    tarn::DeviceConfiguration saved = config;
    const std::string text = tarn::WriteDataFile(saved, form);
    tarn::DeviceConfiguration reloaded = saved;
    if (!tarn::ReadDataFile(text, reloaded, prompter)) std::abort();
    // What the file can carry comes back; a full file carries every byte the writer wrote.
    const std::string again = tarn::WriteDataFile(reloaded, form);
    if (again != text) std::abort();
  }
  return 0;
}
