// Ids of the window tests' own resources, for their resource script and the tests alike.
#ifndef QUILLOMAT_WIN32_TEST_RESOURCE_IDS_H
#define QUILLOMAT_WIN32_TEST_RESOURCE_IDS_H

#define IDR_TEST_BANNER_GIF 901

#ifndef RC_INVOKED
namespace quillomat {

inline constexpr int kTestBannerGifResource = IDR_TEST_BANNER_GIF;

}  // namespace quillomat
#endif

#endif
