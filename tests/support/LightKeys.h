#pragma once
// Light settings shared by the light tests with and without a context: the
// camera's projection, and every light key once under the standard name with
// the scene objects' standard position.
#include <string>

inline const std::string kCameraKeys =
    "camera.fov = 0.785398\ncamera.ratio = 1.333\ncamera.znear = 0.1\ncamera.zfar = 100\n";

inline const std::string kStandardLightKeys =
    "lightmanager.standard.color.r = 51\nlightmanager.standard.color.g = 102\nlightmanager.standard.color.b = 204\n"
    "lightmanager.standard.ambient.intensity = 0.1\nlightmanager.standard.diffuse.intensity = 0.8\n"
    "lightmanager.standard.light.direction.x = 3\nlightmanager.standard.light.direction.y = -4\n"
    "lightmanager.standard.light.direction.z = 0\nlightmanager.standard.position.x = 1\n"
    "lightmanager.standard.position.y = 2\nlightmanager.standard.position.z = 3\n"
    "lightmanager.standard.shadow.Intensity = 0.4\nlightmanager.standard.falloff.constant = 1\n"
    "lightmanager.standard.falloff.linear = 0.05\nlightmanager.standard.falloff.exponential = 0.01\n"
    "lightmanager.standard.angle = 30\nlightmanager.standard.light.position.y = 4.5\n"
    "sceneObject.standard.position.x = -7\nsceneObject.standard.position.z = 9\n"
    "lightmanager.specular.intensity = 0.6\nlightmanager.specular.power = 32\n";
