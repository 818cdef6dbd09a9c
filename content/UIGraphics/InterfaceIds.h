// Resource ids of the interface pictures, read by the bitmap resource
// scripts of this folder.
const Sint32 kPanelBackgroundId = 1200;
const Sint32 kGradientId = 1201;
const Sint32 kDemoPatternId = 1202;
// Languages a picture may be limited to.
const Sint32 kLanguageEnglish = 1;
