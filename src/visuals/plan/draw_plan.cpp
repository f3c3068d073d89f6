#include "visuals/plan/draw_plan.h"

namespace vortel {

const char* programPairName(ProgramPair pair) {
    switch (pair) {
    case ProgramPair::None: return "";
    case ProgramPair::Relief: return "Relief";
    case ProgramPair::Lit: return "Lit";
    case ProgramPair::LitTextured: return "LitTextured";
    case ProgramPair::DepthNormal: return "DepthNormal";
    }
    return "";
}

const char* meshName(MeshKind mesh) {
    switch (mesh) {
    case MeshKind::Shape: return "shape";
    case MeshKind::Box: return "box";
    case MeshKind::BoxInside: return "boxInside";
    case MeshKind::Lines: return "lines";
    }
    return "";
}

ShapeGeometry shapeGeometryOf(const Draw& d) {
    ShapeGeometry g;
    g.preset = d.preset;
    g.morph = d.morph;
    g.segments = d.segments;
    g.phaseA = d.phaseA;
    g.phaseB = d.phaseB;
    g.meshScale = {d.meshScale[0], d.meshScale[1], d.meshScale[2]};
    g.texCoordScale = d.texCoordScale;
    return g;
}

}  // namespace vortel
