#include "scene/Model.h"

Model::Model(GLuint lightingProgramName, GLuint shadowProgramName)
    : lightingProgram(lightingProgramName),
      shadowProgram(shadowProgramName),
      lighting(std::make_shared<MeshVAO>()),
      shadow(std::make_shared<MeshVAO>()),
      diffuse(std::make_shared<Texture>()) {}

Model::Model(const Model& source)
    : shared(true),
      lightingProgram(source.lightingProgram),
      shadowProgram(source.shadowProgram),
      lighting(source.lighting),
      shadow(source.shadow),
      diffuse(source.diffuse) {}
