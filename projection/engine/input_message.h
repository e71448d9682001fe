#pragma once
// The texts of the inputs the projection's computing files refuse; they raise them as
// InputMessage.
#include "platform/core/input_message.h"

namespace vantelo::projection {

inline constexpr const char* msg_interpolation_setting = "插值设定错误！请重新设定。";
inline constexpr const char* msg_life_expectancy_range = "期望寿命设定超出范围！请重新设定。";
inline constexpr const char* msg_not_enough_fields = "选定原始数据变量不够!";
inline constexpr const char* msg_male_population = "男性年龄别人口数据格式不正确.";
inline constexpr const char* msg_female_population = "女性年龄别人口数据格式不正确.";
inline constexpr const char* msg_male_death_rate = "男性年龄别死亡率数据格式不正确.";
inline constexpr const char* msg_female_death_rate = "女性年龄别死亡率数据格式不正确.";
inline constexpr const char* msg_fertility_rate = "年龄别生育率数据格式不正确.";
inline constexpr const char* msg_bad_data = "数据格式不正确.";

}  // namespace vantelo::projection
