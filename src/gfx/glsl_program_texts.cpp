// The texts of the GLSL programs. Each is written once, without a version
// line: glsl_programs.cpp puts "#version 330 core" before it on the
// desktop, "#version 300 es" with high precision on OpenGL ES, so only what
// both languages share appears here (layout locations, in/out, texture()).
//
// They compute what the ARB programs (gpu_program_texts.cpp) compute, step
// for step and in the same order, so that both renderers draw the same
// pictures. The uniforms stand for the ARB programs' state: u_mvp,
// u_modelview and u_invTrans for state.matrix.mvp, .modelview and
// .modelview.invtrans, u_light for vertex environment parameter 0,
// u_material, u_specularColour, u_specularParams, u_surfaceParams,
// u_depthPacking and u_blur for fragment environment parameters 0 to 5.
// ARB rows are GLSL rows: ARB's `DP3 r.x, it[0], n` is (mat3(u_invTrans) *
// n).x, and the eye position in object space (ARB's it[3], row 3) is
// (u_invTrans[0][3], u_invTrans[1][3], u_invTrans[2][3]).
//
// Vertex attributes: 0 position, 1 normal, 2 colour (the relief program's
// tangent), 3 texture coordinate 0. What fixed-function GL did without
// programs is done by the Fixed program (the current colour MODULATEs the
// texture of unit 0 when texturing is on) and the Line program (smooth
// wide lines as quads of the planned width, coverage in alpha).
#include "gfx/glsl_programs.h"

#include <array>

namespace vortel {

namespace {

// Per-pixel lighting, vertex part, shared by the lit programs.
constexpr const char* kLitVS = R"(
layout(location = 0) in vec3 a_position;
layout(location = 1) in vec3 a_normal;
layout(location = 3) in vec2 a_texCoord;
uniform mat4 u_mvp;
uniform mat4 u_modelview;
uniform mat4 u_invTrans;
uniform vec4 u_light;
out vec3 v_normal;
out vec4 v_eyePos;
out vec4 v_lightVec;
out vec2 v_texCoord;
void main() {
    vec4 p = vec4(a_position, 1.0);
    gl_Position = u_mvp * p;
    v_normal = mat3(u_invTrans) * a_normal;
    v_eyePos = u_modelview * p;
    v_lightVec = u_light - v_eyePos;
    v_texCoord = a_texCoord;
}
)";

// Diffuse and highlight of the lit programs: diff = N.l, highlight = the
// highlight's colour (alpha 1).
#define VORTEL_LIT_LIGHTING                                                     \
    "    vec3 N = v_normal * inversesqrt(dot(v_normal, v_normal));\n"           \
    "    vec3 view = v_eyePos.xyz * inversesqrt(dot(v_eyePos.xyz, v_eyePos.xyz));\n" \
    "    vec3 l = v_lightVec.xyz * inversesqrt(dot(v_lightVec.xyz, v_lightVec.xyz));\n" \
    "    float diff = dot(N, l);\n"                                             \
    "    vec3 refl = N * diff * 2.0 - l;\n"                                     \
    "    float s = max(dot(refl, view) * u_specularParams.y, 0.0);\n"           \
    "    s = pow(s, u_specularParams.x);\n"                                     \
    "    vec4 highlight = clamp(s * u_specularColour, 0.0, 1.0);\n"                  \
    "    highlight.w = 1.0;\n"

#define VORTEL_LIT_INPUTS                 \
    "in vec3 v_normal;\n"                 \
    "in vec4 v_eyePos;\n"                 \
    "in vec4 v_lightVec;\n"               \
    "in vec2 v_texCoord;\n"               \
    "uniform vec4 u_material;\n"          \
    "uniform vec4 u_specularColour;\n"    \
    "uniform vec4 u_specularParams;\n"    \
    "layout(location = 0) out vec4 o_colour;\n"

// Diffuse plus highlight; alpha = sat(diff * material.w + 1).
constexpr const char* kLitFS = "\n" VORTEL_LIT_INPUTS
                               "void main() {\n" VORTEL_LIT_LIGHTING
                               "    o_colour = clamp(diff * u_material + highlight, 0.0, 1.0);\n"
                               "}\n";

// As kLitFS, then half of texture 0 (alpha 1) added.
constexpr const char* kLitTexturedFS = "\n" VORTEL_LIT_INPUTS
                                       "uniform sampler2D u_texture0;\n"
                                       "void main() {\n" VORTEL_LIT_LIGHTING
                                       "    vec4 c = clamp(diff * u_material + highlight, 0.0, 1.0);\n"
                                       "    vec4 tex = texture(u_texture0, v_texCoord);\n"
                                       "    tex.w = 1.0;\n"
                                       "    o_colour = tex * 0.5 + c;\n"
                                       "}\n";

// Relief mapping, vertex part: besides the lit outputs the eye-space
// tangent and the view vector in tangent space (tangent, normal x tangent,
// normal).
constexpr const char* kReliefVS = R"(
layout(location = 0) in vec3 a_position;
layout(location = 1) in vec3 a_normal;
layout(location = 2) in vec3 a_tangent;
layout(location = 3) in vec2 a_texCoord;
uniform mat4 u_mvp;
uniform mat4 u_modelview;
uniform mat4 u_invTrans;
uniform vec4 u_light;
out vec2 v_texCoord;
out vec4 v_eyePos;
out vec4 v_lightVec;
out vec3 v_normal;
out vec3 v_tangent;
out vec3 v_viewTangent;
void main() {
    vec4 p = vec4(a_position, 1.0);
    gl_Position = u_mvp * p;
    v_texCoord = a_texCoord;
    v_normal = mat3(u_invTrans) * a_normal;
    v_tangent = mat3(u_invTrans) * a_tangent;
    v_eyePos = u_modelview * p;
    v_lightVec = u_light - v_eyePos;
    vec3 bitangent = cross(a_normal, a_tangent);
    vec3 eye = vec3(u_invTrans[0][3], u_invTrans[1][3], u_invTrans[2][3]);
    vec3 view = eye - a_position;
    v_viewTangent = vec3(dot(view, a_tangent), dot(view, bitangent), dot(view, a_normal));
}
)";

// Relief mapping, fragment part: texture 0 = relief map (R, G = slope, B =
// normal z, A = height), texture 1 = detail texture.
constexpr const char* kReliefFS = R"(
in vec2 v_texCoord;
in vec4 v_eyePos;
in vec4 v_lightVec;
in vec3 v_normal;
in vec3 v_tangent;
in vec3 v_viewTangent;
uniform sampler2D u_texture0;
uniform sampler2D u_texture1;
uniform vec4 u_material;
uniform vec4 u_specularColour;
uniform vec4 u_specularParams;
uniform vec4 u_surfaceParams;
layout(location = 0) out vec4 o_colour;
void main() {
    vec3 N = v_normal * inversesqrt(dot(v_normal, v_normal));
    vec3 T = v_tangent * inversesqrt(dot(v_tangent, v_tangent));
    vec3 Vt = v_viewTangent * inversesqrt(dot(v_viewTangent, v_viewTangent));
    // parallax: shift the lookup along the view by the height
    float h = texture(u_texture0, v_texCoord).w * u_surfaceParams.z + u_surfaceParams.w;
    vec2 uv = h * Vt.xy + v_texCoord;
    // perturbed normal
    vec4 d = (texture(u_texture0, uv) - 0.5) * u_surfaceParams.x;
    vec3 NxT = cross(N, T);
    vec3 n = T * d.x;
    n = NxT * d.y + n;
    n = (N * u_specularParams.w) * d.z + n;
    n = n * inversesqrt(dot(n, n));
    // diffuse
    vec3 view = v_eyePos.xyz * inversesqrt(dot(v_eyePos.xyz, v_eyePos.xyz));
    vec3 l = v_lightVec.xyz * inversesqrt(dot(v_lightVec.xyz, v_lightVec.xyz));
    float diff = dot(n, l);
    // highlight; no highlight where the reflected light points away
    vec3 refl = n * diff * 2.0 - l;
    float s = max(dot(refl, view) * u_specularParams.y, 0.0);
    s = pow(s, u_specularParams.x);
    vec4 highlight = clamp(s * u_specularColour, 0.0, 1.0);
    vec4 lit = clamp(diff * u_material + highlight, 0.0, 1.0);
    // detail texture
    vec4 detail = texture(u_texture1, uv) * u_surfaceParams.y;
    o_colour = vec4(clamp(detail.xyz * (diff + u_specularParams.z) + lit.xyz, 0.0, 1.0), 1.0);
}
)";

// Clip-space position and eye-space normal (the normal with w = 1 through
// all four columns of the inverse transpose, as ARB's DP4 took it).
constexpr const char* kDepthNormalVS = R"(
layout(location = 0) in vec3 a_position;
layout(location = 1) in vec3 a_normal;
uniform mat4 u_mvp;
uniform mat4 u_invTrans;
out vec4 v_clip;
out vec3 v_normal;
void main() {
    v_clip = u_mvp * vec4(a_position, 1.0);
    gl_Position = v_clip;
    v_normal = (u_invTrans * vec4(a_normal, 1.0)).xyz;
}
)";

// Packs clip z * u_depthPacking.y into R = floor / 256 and G = fraction,
// and the eye-space normal's x and y (as n * 0.5 + 0.5) into B and A.
constexpr const char* kDepthNormalFS = R"(
in vec4 v_clip;
in vec3 v_normal;
uniform vec4 u_depthPacking;
layout(location = 0) out vec4 o_colour;
void main() {
    float t = v_clip.z * u_depthPacking.y;
    float f = fract(t);
    vec3 N = v_normal * inversesqrt(dot(v_normal, v_normal)) * 0.5 + 0.5;
    o_colour = vec4((t - f) * 0.00390625, f, N.x, N.y);
}
)";

// Sampling texture unit 0 as a clamped texture with a black border
// (GL_CLAMP, which OpenGL ES lacks) samples it: the coordinate clamped to
// [0, 1] and filtered linearly from the texels themselves, those beyond the
// edge black.
#define VORTEL_BORDER_SAMPLING                                                        \
    "vec4 texel(ivec2 at, ivec2 size) {\n"                                            \
    "    if (any(lessThan(at, ivec2(0))) || any(greaterThanEqual(at, size))) return vec4(0.0);\n" \
    "    return texelFetch(u_texture0, at, 0);\n"                                     \
    "}\n"                                                                             \
    "vec4 borderSample(vec2 tc) {\n"                                                  \
    "    ivec2 size = textureSize(u_texture0, 0);\n"                                  \
    "    vec2 u = clamp(tc, 0.0, 1.0) * vec2(size) - 0.5;\n"                          \
    "    vec2 lower = floor(u);\n"                                                    \
    "    vec2 w = u - lower;\n"                                                       \
    "    ivec2 i = ivec2(lower);\n"                                                   \
    "    vec4 bottom = mix(texel(i, size), texel(i + ivec2(1, 0), size), w.x);\n"     \
    "    vec4 top = mix(texel(i + ivec2(0, 1), size), texel(i + ivec2(1, 1), size), w.x);\n" \
    "    return mix(bottom, top, w.y);\n"                                             \
    "}\n"

// One blur iteration of the glow: four copies of texture 0 shifted by
// u_blur.xy diagonally each way.
constexpr const char* kBlurVS = R"(
layout(location = 0) in vec4 a_position;
layout(location = 3) in vec2 a_texCoord;
uniform mat4 u_mvp;
uniform vec4 u_blur;
out vec2 v_tap0;
out vec2 v_tap1;
out vec2 v_tap2;
out vec2 v_tap3;
void main() {
    gl_Position = u_mvp * a_position;
    v_tap0 = a_texCoord - u_blur.xy;
    v_tap1 = a_texCoord + vec2(u_blur.x, -u_blur.y);
    v_tap2 = a_texCoord + vec2(-u_blur.x, u_blur.y);
    v_tap3 = a_texCoord + u_blur.xy;
}
)";

// The sum of the four taps, each scaled by u_blur.zzzw (gain x 255 for the
// colour, 255 for alpha) and rounded to a whole 8-bit step before adding.
// The texture is sampled as a clamped one with a black border.
constexpr const char* kBlurFS = R"(
in vec2 v_tap0;
in vec2 v_tap1;
in vec2 v_tap2;
in vec2 v_tap3;
uniform sampler2D u_texture0;
uniform vec4 u_blur;
layout(location = 0) out vec4 o_colour;
)" VORTEL_BORDER_SAMPLING R"(
vec4 tap(vec2 tc) {
    return floor(borderSample(tc) * u_blur.zzzw + 0.5);
}
void main() {
    vec4 sum = tap(v_tap0) + tap(v_tap1) + tap(v_tap2) + tap(v_tap3);
    o_colour = clamp(sum * 0.0039215686, 0.0, 1.0);
}
)";

// What fixed-function GL drew without programs: the position through the
// matrices, the colour (clamped, as vertex colours are) MODULATing the
// texture of unit 0 when texturing is on (u_border: sampled as a clamped
// texture with a black border). Colour and texture coordinate come from
// arrays or, as the current values of GL, from the attributes' constant
// values.
constexpr const char* kFixedVS = R"(
layout(location = 0) in vec4 a_position;
layout(location = 2) in vec4 a_colour;
layout(location = 3) in vec4 a_texCoord;
uniform mat4 u_mvp;
out vec4 v_colour;
out vec2 v_texCoord;
void main() {
    gl_Position = u_mvp * a_position;
    v_colour = clamp(a_colour, 0.0, 1.0);
    v_texCoord = a_texCoord.xy / a_texCoord.w;
}
)";

constexpr const char* kFixedFS = R"(
in vec4 v_colour;
in vec2 v_texCoord;
uniform sampler2D u_texture0;
uniform int u_texturing;
uniform int u_border;
layout(location = 0) out vec4 o_colour;
)" VORTEL_BORDER_SAMPLING R"(
void main() {
    vec4 c = v_colour;
    if (u_texturing != 0) c *= u_border != 0 ? borderSample(v_texCoord) : texture(u_texture0, v_texCoord);
    o_colour = c;
}
)";

// Smooth wide lines, which core contexts and OpenGL ES do not draw: each
// segment (a_from, a_to) becomes a quad of the line's width plus half a
// pixel all round, in window pixels. The segment is first clipped to the
// near and far planes, as the GL clips lines before widening them. a_corner
// picks the corner: x 0 at a_from, 1 at a_to; y -1 or 1 across. The
// fragment part weighs the colour's alpha by how much of the pixel the line
// covers. Colour and texture coordinate are the current values, as for
// kFixedVS.
constexpr const char* kLineVS = R"(
layout(location = 0) in vec3 a_from;
layout(location = 1) in vec3 a_to;
layout(location = 2) in vec4 a_colour;
layout(location = 3) in vec4 a_texCoord;
layout(location = 4) in vec2 a_corner;
uniform mat4 u_mvp;
uniform vec4 u_viewport;
uniform float u_lineHalfWidth;
out vec4 v_colour;
out vec2 v_texCoord;
flat out vec4 v_segment;
void clipTo(float da, float db, inout float t0, inout float t1) {
    if (da < 0.0 && db < 0.0) { t0 = 1.0; t1 = 0.0; return; }
    if (da < 0.0) t0 = max(t0, da / (da - db));
    else if (db < 0.0) t1 = min(t1, da / (da - db));
}
vec2 toWindow(vec4 c) {
    return (c.xy / c.w * 0.5 + 0.5) * u_viewport.zw + u_viewport.xy;
}
void main() {
    vec4 a = u_mvp * vec4(a_from, 1.0);
    vec4 b = u_mvp * vec4(a_to, 1.0);
    float t0 = 0.0;
    float t1 = 1.0;
    clipTo(a.w + a.z, b.w + b.z, t0, t1);
    clipTo(a.w - a.z, b.w - b.z, t0, t1);
    clipTo(a.w + a.x, b.w + b.x, t0, t1);
    clipTo(a.w - a.x, b.w - b.x, t0, t1);
    clipTo(a.w + a.y, b.w + b.y, t0, t1);
    clipTo(a.w - a.y, b.w - b.y, t0, t1);
    v_colour = clamp(a_colour, 0.0, 1.0);
    v_texCoord = a_texCoord.xy / a_texCoord.w;
    if (t0 > t1) {
        gl_Position = vec4(2.0, 2.0, 2.0, 1.0);
        v_segment = vec4(0.0);
        return;
    }
    vec4 p0 = mix(a, b, t0);
    vec4 p1 = mix(a, b, t1);
    vec2 w0 = toWindow(p0);
    vec2 w1 = toWindow(p1);
    vec2 d = w1 - w0;
    float len = length(d);
    vec2 along = len > 0.0 ? d / len : vec2(1.0, 0.0);
    vec2 across = vec2(-along.y, along.x);
    vec4 p = a_corner.x < 0.5 ? p0 : p1;
    vec2 w = (a_corner.x < 0.5 ? w0 - 0.5 * along : w1 + 0.5 * along) + a_corner.y * (u_lineHalfWidth + 0.5) * across;
    vec2 ndc = (w - u_viewport.xy) / u_viewport.zw * 2.0 - 1.0;
    gl_Position = vec4(ndc * p.w, p.z, p.w);
    v_segment = vec4(w0, w1);
}
)";

constexpr const char* kLineFS = R"(
in vec4 v_colour;
in vec2 v_texCoord;
flat in vec4 v_segment;
uniform sampler2D u_texture0;
uniform int u_texturing;
uniform int u_border;
uniform float u_lineHalfWidth;
layout(location = 0) out vec4 o_colour;
)" VORTEL_BORDER_SAMPLING R"(
void main() {
    vec2 d = v_segment.zw - v_segment.xy;
    float len = length(d);
    vec2 along = len > 0.0 ? d / len : vec2(1.0, 0.0);
    vec2 q = gl_FragCoord.xy - 0.5 * (v_segment.xy + v_segment.zw);
    float l = abs(dot(q, along));
    float w = abs(dot(q, vec2(-along.y, along.x)));
    float coverage = clamp(u_lineHalfWidth + 0.5 - w, 0.0, 1.0) * clamp(0.5 * len + 0.5 - l, 0.0, 1.0);
    vec4 c = v_colour;
    if (u_texturing != 0) c *= u_border != 0 ? borderSample(v_texCoord) : texture(u_texture0, v_texCoord);
    o_colour = vec4(c.rgb, c.a * coverage);
}
)";

const std::array<GlslProgramSource, kGlslProgramCount> kSources{{
    {"Relief", kReliefVS, kReliefFS},
    {"Lit", kLitVS, kLitFS},
    {"LitTextured", kLitVS, kLitTexturedFS},
    {"DepthNormal", kDepthNormalVS, kDepthNormalFS},
    {"Blur", kBlurVS, kBlurFS},
    {"Fixed", kFixedVS, kFixedFS},
    {"Line", kLineVS, kLineFS},
}};

}  // namespace

const GlslProgramSource& glslProgramSource(GlslProgramId id) { return kSources[static_cast<size_t>(id)]; }

}  // namespace vortel
