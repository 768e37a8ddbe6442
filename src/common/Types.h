#pragma once
// Shared value types: GLM vectors, matrices and quaternions, object ids and
// the angle conventions every subsystem uses.
#include <cstdint>
#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

using Vec2 = glm::vec2;
using Vec3 = glm::vec3;
using Vec4 = glm::vec4;
using Mat4 = glm::mat4;  // column-major, uploaded without transposing
using Quat = glm::quat;  // unit quaternion

using ObjectId = std::uint32_t;
inline constexpr ObjectId kNoObject = 0xFFFFFFFFu;

// Single-precision degree-to-radian factor used for every configured angle.
inline constexpr float kDegToRad = 0.0174532924f;
// Facing and camera angles wrap at this value, not at 2*pi.
inline constexpr float kAngleWrap = 6.2831f;

// Wraps an angle into [0, 6.2831) by adding or subtracting 6.2831.
float wrapAngle(float radians);
