// The texts of the GPU programs, in the ARB assembly languages.
//
// Shared notation: M = modelview, MVP = projection * modelview, IT =
// inverse transpose of M (rows 0-2 turn object normals into eye space, row 3
// is the eye position in object space). Lighting happens in eye space,
// where the eye sits at the origin, so the normalised eye-space position is
// the view direction and the default specularParams.y = -1 turns the
// reflection-view cosine towards the viewer.
#include "gfx/gpu_programs.h"

#include <array>
#include <string>

#include "gfx/gl_api.h"

namespace vortel {

namespace {

// Relief mapping, vertex part. Inputs: position, normal, tangent (in the
// colour), texture coordinate 0. Outputs: tc0 = texture coordinate, tc1 =
// eye-space position, tc2 = light vector, tc3 = eye-space normal, tc4 =
// eye-space tangent, tc5 = view vector in tangent space (tangent,
// normal x tangent, normal).
constexpr const char* kReliefVP = R"(!!ARBvp1.0
ATTRIB position = vertex.position;
ATTRIB normal = vertex.normal;
ATTRIB tangent = vertex.color;
PARAM mvp[4] = { state.matrix.mvp };
PARAM mv[4] = { state.matrix.modelview };
PARAM it[4] = { state.matrix.modelview.invtrans };
PARAM light = program.env[0];
TEMP eyePos, bitangent, view;
DP4 result.position.x, mvp[0], position;
DP4 result.position.y, mvp[1], position;
DP4 result.position.z, mvp[2], position;
DP4 result.position.w, mvp[3], position;
MOV result.texcoord[0], vertex.texcoord[0];
DP3 result.texcoord[3].x, it[0], normal;
DP3 result.texcoord[3].y, it[1], normal;
DP3 result.texcoord[3].z, it[2], normal;
DP3 result.texcoord[4].x, it[0], tangent;
DP3 result.texcoord[4].y, it[1], tangent;
DP3 result.texcoord[4].z, it[2], tangent;
DP4 eyePos.x, mv[0], position;
DP4 eyePos.y, mv[1], position;
DP4 eyePos.z, mv[2], position;
DP4 eyePos.w, mv[3], position;
MOV result.texcoord[1], eyePos;
SUB result.texcoord[2], light, eyePos;
XPD bitangent, normal, tangent;
SUB view, it[3], position;
DP3 result.texcoord[5].x, view, tangent;
DP3 result.texcoord[5].y, view, bitangent;
DP3 result.texcoord[5].z, view, normal;
END
)";

// Relief mapping, fragment part. Texture 0 = relief map (R, G = slope, B =
// normal z, A = height), texture 1 = detail texture.
constexpr const char* kReliefFP = R"(!!ARBfp1.0
PARAM material = program.env[0];
PARAM specularColour = program.env[1];
PARAM specularParams = program.env[2];
PARAM surface = program.env[3];
TEMP len, N, T, Vt, h, uv, d, NxT, n, view, l, diff, refl, s, spec, lit, detail;
# base normal, tangent and tangent-space view vector
DP3 len.x, fragment.texcoord[3], fragment.texcoord[3];
RSQ len.x, len.x;
MUL N, fragment.texcoord[3], len.x;
DP3 len.x, fragment.texcoord[4], fragment.texcoord[4];
RSQ len.x, len.x;
MUL T, fragment.texcoord[4], len.x;
DP3 len.x, fragment.texcoord[5], fragment.texcoord[5];
RSQ len.x, len.x;
MUL Vt, fragment.texcoord[5], len.x;
# parallax: shift the lookup along the view by the height
TEX h, fragment.texcoord[0], texture[0], 2D;
MAD h.x, h.w, surface.z, surface.w;
MAD uv, h.x, Vt, fragment.texcoord[0];
# perturbed normal
TEX d, uv, texture[0], 2D;
SUB d, d, 0.5;
MUL d, d, surface.x;
XPD NxT, N, T;
MUL n, T, d.x;
MAD n, NxT, d.y, n;
MUL N, N, specularParams.w;
MAD n, N, d.z, n;
DP3 len.x, n, n;
RSQ len.x, len.x;
MUL n, n, len.x;
# diffuse
DP3 len.x, fragment.texcoord[1], fragment.texcoord[1];
RSQ len.x, len.x;
MUL view, fragment.texcoord[1], len.x;
DP3 len.x, fragment.texcoord[2], fragment.texcoord[2];
RSQ len.x, len.x;
MUL l, fragment.texcoord[2], len.x;
DP3 diff, n, l;
# highlight; no highlight where the reflected light points away
MUL refl, n, diff;
MAD refl, refl, 2.0, -l;
DP3 s, refl, view;
MUL s, s, specularParams.y;
MAX s, s, 0.0;
POW s, s.x, specularParams.x;
MUL_SAT spec, s, specularColour;
MAD_SAT lit, diff, material, spec;
# detail texture
TEX detail, uv, texture[1], 2D;
ADD s, diff, specularParams.z;
MUL detail, detail, surface.y;
MAD_SAT result.color.xyz, detail, s, lit;
MOV result.color.w, 1.0;
END
)";

// Per-pixel lighting, vertex part, shared by the lit programs. Outputs:
// tc0 = eye-space normal, tc1 = eye-space position, tc2 = light vector.
const std::string kLitVpBody = R"(ATTRIB position = vertex.position;
ATTRIB normal = vertex.normal;
PARAM mvp[4] = { state.matrix.mvp };
PARAM mv[4] = { state.matrix.modelview };
PARAM it[4] = { state.matrix.modelview.invtrans };
PARAM light = program.env[0];
TEMP eyePos;
DP4 result.position.x, mvp[0], position;
DP4 result.position.y, mvp[1], position;
DP4 result.position.z, mvp[2], position;
DP4 result.position.w, mvp[3], position;
DP3 result.texcoord[0].x, it[0], normal;
DP3 result.texcoord[0].y, it[1], normal;
DP3 result.texcoord[0].z, it[2], normal;
DP4 eyePos.x, mv[0], position;
DP4 eyePos.y, mv[1], position;
DP4 eyePos.z, mv[2], position;
DP4 eyePos.w, mv[3], position;
MOV result.texcoord[1], eyePos;
SUB result.texcoord[2], light, eyePos;
)";

const std::string kLitVP = "!!ARBvp1.0\n" + kLitVpBody + "END\n";

// As kLitVP, plus tc4 = texture coordinate 0.
const std::string kLitTexturedVP =
    "!!ARBvp1.0\n" + kLitVpBody + "MOV result.texcoord[4], vertex.texcoord[0];\nEND\n";

// Per-pixel diffuse and highlight shared by the lit fragment programs:
// leaves diff (N.l) and spec (highlight colour, alpha 1).
const std::string kLitFpParams = R"(PARAM material = program.env[0];
PARAM specularColour = program.env[1];
PARAM specularParams = program.env[2];
TEMP len, N, view, l, diff, refl, s, spec;
)";
const std::string kLitFpLighting = R"(DP3 len.x, fragment.texcoord[0], fragment.texcoord[0];
RSQ len.x, len.x;
MUL N, fragment.texcoord[0], len.x;
DP3 len.x, fragment.texcoord[1], fragment.texcoord[1];
RSQ len.x, len.x;
MUL view, fragment.texcoord[1], len.x;
DP3 len.x, fragment.texcoord[2], fragment.texcoord[2];
RSQ len.x, len.x;
MUL l, fragment.texcoord[2], len.x;
DP3 diff, N, l;
MUL refl, N, diff;
MAD refl, refl, 2.0, -l;
DP3 s, refl, view;
MUL s, s, specularParams.y;
MAX s, s, 0.0;
POW s, s.x, specularParams.x;
MUL_SAT spec, s, specularColour;
MOV spec.w, 1.0;
)";

// Diffuse plus highlight; alpha = sat(diff * material.w + 1).
const std::string kLitFP = "!!ARBfp1.0\n" + kLitFpParams + kLitFpLighting +
                          "MAD_SAT result.color, diff, material, spec;\nEND\n";

// As kLitFP, then half of texture 0 at tc4 (alpha 1) added.
const std::string kLitTexturedFP = "!!ARBfp1.0\n" + kLitFpParams + "TEMP c, tex;\n" +
                                  kLitFpLighting + R"(MAD_SAT c, diff, material, spec;
TEX tex, fragment.texcoord[4], texture[0], 2D;
MOV tex.w, 1.0;
MAD result.color, tex, 0.5, c;
END
)";

// Clip-space position in tc0 and eye-space normal in tc1.
constexpr const char* kDepthNormalVP =
    "!!ARBvp1.0TEMP L;PARAM m[4]={state.matrix.mvp};PARAM o[4]={state.matrix.modelview.invtrans};"
    "DP4 L.x,m[0],vertex.position;DP4 L.y,m[1],vertex.position;DP4 L.z,m[2],vertex.position;"
    "DP4 L.w,m[3],vertex.position;MOV result.position,L;MOV result.texcoord,L;"
    "DP4 L.x,o[0],vertex.normal;DP4 L.y,o[1],vertex.normal;DP4 L.z,o[2],vertex.normal;"
    "MOV result.texcoord[1],L;END";

// Packs clip z * env[4].y into R = floor / 256 and G = fraction, and the
// eye-space normal's x and y (as n * 0.5 + 0.5) into B and A.
constexpr const char* kDepthNormalFP =
    "!!ARBfp1.0TEMP N;TEMP t,tt,r;MUL t,fragment.texcoord.z,program.env[4].y;FRC r,t;SUB t,t,r;"
    "MUL t,t,0.00390625;MOV t.y,r.z;MOV N,fragment.texcoord[1];MOV N.w,0.0;MOV tt,N;DP3 tt,tt,tt;"
    "RSQ tt,tt.x;MUL N,N,tt;MAD N,N,0.5,0.5;MOV t.z,N.x;MOV t.w,N.y;MOV result.color,t;END";

// One blur iteration of the glow: four copies of texture 0 shifted by
// env[5] = (d, d) diagonally each way (tc0..tc3), position passed through
// the (identity) matrices.
constexpr const char* kBlurVP = R"(!!ARBvp1.0
PARAM mvp[4] = { state.matrix.mvp };
PARAM d = program.env[5];
TEMP neg;
DP4 result.position.x, mvp[0], vertex.position;
DP4 result.position.y, mvp[1], vertex.position;
DP4 result.position.z, mvp[2], vertex.position;
DP4 result.position.w, mvp[3], vertex.position;
MOV neg, -d;
ADD result.texcoord[0].xy, vertex.texcoord[0], neg;
ADD result.texcoord[1].x, vertex.texcoord[0], d;
ADD result.texcoord[1].y, vertex.texcoord[0], neg;
ADD result.texcoord[2].x, vertex.texcoord[0], neg;
ADD result.texcoord[2].y, vertex.texcoord[0], d;
ADD result.texcoord[3].xy, vertex.texcoord[0], d;
MOV result.texcoord[0].zw, vertex.texcoord[0];
MOV result.texcoord[1].zw, vertex.texcoord[0];
MOV result.texcoord[2].zw, vertex.texcoord[0];
MOV result.texcoord[3].zw, vertex.texcoord[0];
END
)";

// The sum of the four taps, each scaled by env[5].zzzw (gain x 255 for the
// colour, 255 for alpha) and rounded to a whole 8-bit step before adding,
// as the framebuffer's blending of one tap after the other would.
constexpr const char* kBlurFP = R"(!!ARBfp1.0
PARAM scale = program.env[5];
TEMP a, b, sum;
TEX a, fragment.texcoord[0], texture[0], 2D;
MAD a, a, scale.zzzw, 0.5;
FLR sum, a;
TEX b, fragment.texcoord[1], texture[0], 2D;
MAD b, b, scale.zzzw, 0.5;
FLR b, b;
ADD sum, sum, b;
TEX a, fragment.texcoord[2], texture[0], 2D;
MAD a, a, scale.zzzw, 0.5;
FLR a, a;
ADD sum, sum, a;
TEX b, fragment.texcoord[3], texture[0], 2D;
MAD b, b, scale.zzzw, 0.5;
FLR b, b;
ADD sum, sum, b;
MUL_SAT result.color, sum, 0.0039215686;
END
)";

const std::array<GpuProgramSource, kGpuProgramCount> kSources{{
    {"ReliefVP", GL_VERTEX_PROGRAM_ARB, kReliefVP},
    {"ReliefFP", GL_FRAGMENT_PROGRAM_ARB, kReliefFP},
    {"LitVP", GL_VERTEX_PROGRAM_ARB, kLitVP.c_str()},
    {"LitFP", GL_FRAGMENT_PROGRAM_ARB, kLitFP.c_str()},
    {"LitTexturedVP", GL_VERTEX_PROGRAM_ARB, kLitTexturedVP.c_str()},
    {"LitTexturedFP", GL_FRAGMENT_PROGRAM_ARB, kLitTexturedFP.c_str()},
    {"DepthNormalVP", GL_VERTEX_PROGRAM_ARB, kDepthNormalVP},
    {"DepthNormalFP", GL_FRAGMENT_PROGRAM_ARB, kDepthNormalFP},
    {"BlurVP", GL_VERTEX_PROGRAM_ARB, kBlurVP},
    {"BlurFP", GL_FRAGMENT_PROGRAM_ARB, kBlurFP},
}};

}  // namespace

const GpuProgramSource& gpuProgramSource(GpuProgramId id) { return kSources[static_cast<int>(id)]; }

}  // namespace vortel
