#include "Retune.h"

// libsamplerate
#include <samplerate.h>

// std
#include <cmath>
#include <vector>

namespace tonarika {

std::shared_ptr<const Samples> retuned(std::shared_ptr<const Samples> samples, int a4)
{
    if (!samples || a4 == 440 || samples->empty())
        return samples;
    const double ratio = 440.0 / a4;
    std::vector<float> in(samples->size());
    src_short_to_float_array(samples->data(), in.data(), int(in.size()));
    std::vector<float> out(std::size_t(std::ceil(double(in.size()) * ratio)) + 16);
    SRC_DATA data{};
    data.data_in = in.data();
    data.input_frames = long(in.size());
    data.data_out = out.data();
    data.output_frames = long(out.size());
    data.src_ratio = ratio;
    if (src_simple(&data, SRC_SINC_MEDIUM_QUALITY, 1) != 0)
        return nullptr;
    auto result = std::make_shared<Samples>(std::size_t(data.output_frames_gen));
    src_float_to_short_array(out.data(), result->data(), int(result->size()));
    return result;
}

}  // namespace tonarika
