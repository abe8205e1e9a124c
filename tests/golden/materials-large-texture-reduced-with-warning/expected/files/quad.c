#include "quad.h"

u64 quadTexture_big[] = 
{
    0x5ad102cb12cd1acdULL, 0x22cd2acf32cf3ad1ULL, 0x42d14ad152d35ad3ULL, 0x62d36ad572d57ad7ULL,
    0x82d78ad992d99ad9ULL, 0xa2dbaadbb2ddbaddULL, 0xc2dfcadfd2e1dae1ULL, 0xdae3e2e3f2e5eae3ULL,
    0x580b000110031805ULL, 0x2005280730073809ULL, 0x4009480b500b580dULL, 0x600d680f700f7811ULL,
    0x8011881390139815ULL, 0xa015a817b017b819ULL, 0xc019c81bd01bd81dULL, 0xd81de01ff01fe81fULL,
    0x588d008310851887ULL, 0x208728893089388bULL, 0x408b488d508d588fULL, 0x608f689170917893ULL,
    0x8093889390959895ULL, 0xa097a897b099b899ULL, 0xc09bc89bd09dd89dULL, 0xd89fe09ff0a1e89fULL,
    0x58cd00c510c718c7ULL, 0x20c928c930cb38cbULL, 0x40cd48cd50cf58cfULL, 0x60d168d170d378d3ULL,
    0x80d388d590d598d7ULL, 0xa0d7a8d9b0d9b8dbULL, 0xc0dbc8ddd0ddd8dfULL, 0xd8dfe0e1f0e1e8e1ULL,
    0x590d010511071909ULL, 0x2109290b310b390dULL, 0x410d490f510f5911ULL, 0x6111691371137913ULL,
    0x8115891591179917ULL, 0xa119a919b11bb91bULL, 0xc11dc91dd11fd91fULL, 0xd921e121f123e921ULL,
    0x594f014711491949ULL, 0x214b294b314d394dULL, 0x414f494f51515951ULL, 0x6153695371537955ULL,
    0x8155895791579959ULL, 0xa159a95bb15bb95dULL, 0xc15dc95fd15fd961ULL, 0xd961e163f163e963ULL,
    0x598f01871189198bULL, 0x218b298d318d398fULL, 0x418f499151915993ULL, 0x6193699371957995ULL,
    0x8197899791999999ULL, 0xa19ba99bb19db99dULL, 0xc19fc99fd1a1d9a1ULL, 0xd9a3e1a3f1a5e9a3ULL,
    0x59d101c911cb19cbULL, 0x21cd29cd31cf39cfULL, 0x41d149d151d359d3ULL, 0x61d369d571d579d7ULL,
    0x81d789d991d999dbULL, 0xa1dba9ddb1ddb9dfULL, 0xc1dfc9e1d1e1d9e3ULL, 0xd9e3e1e5f1e5e9e5ULL,
    0x5a110209120b1a0dULL, 0x220d2a0f320f3a11ULL, 0x42114a1352135a13ULL, 0x62156a1572177a17ULL,
    0x82198a19921b9a1bULL, 0xa21daa1db21fba1fULL, 0xc221ca21d223da23ULL, 0xda25e225f227ea25ULL,
    0x5a51024b124d1a4dULL, 0x224f2a4f32513a51ULL, 0x42534a5352535a55ULL, 0x62556a5772577a59ULL,
    0x82598a5b925b9a5dULL, 0xa25daa5fb25fba61ULL, 0xc261ca63d263da65ULL, 0xda65e267f267ea67ULL,
    0x5a93028b128d1a8fULL, 0x228f2a9132913a93ULL, 0x42934a9352955a95ULL, 0x62976a9772997a99ULL,
    0x829b8a9b929d9a9dULL, 0xa29faa9fb2a1baa1ULL, 0xc2a3caa3d2a5daa5ULL, 0xdaa7e2a7f2a9eaa7ULL,
    0x5ad302cd12cf1acfULL, 0x22d12ad132d33ad3ULL, 0x42d34ad552d55ad7ULL, 0x62d76ad972d97adbULL,
    0x82db8add92dd9adfULL, 0xa2dfaae1b2e1bae3ULL, 0xc2e3cae5d2e5dae7ULL, 0xdae7e2e9f2e9eae9ULL,
    0x5b13030d130f1b11ULL, 0x23112b1333133b13ULL, 0x43154b1553175b17ULL, 0x63196b19731b7b1bULL,
    0x831d8b1d931f9b1fULL, 0xa321ab21b323bb23ULL, 0xc325cb25d327db27ULL, 0xdb29e329f32beb29ULL,
    0x5b55034f13511b51ULL, 0x23532b5333533b55ULL, 0x43554b5753575b59ULL, 0x63596b5b735b7b5dULL,
    0x835d8b5f935f9b61ULL, 0xa361ab63b363bb65ULL, 0xc365cb67d367db69ULL, 0xdb69e36bf36beb6bULL,
    0x5b95038f13911b93ULL, 0x23932b9333953b95ULL, 0x43974b9753995b99ULL, 0x639b6b9b739d7b9dULL,
    0x839f8b9f93a19ba1ULL, 0xa3a3aba3b3a5bba5ULL, 0xc3a7cba7d3a9dba9ULL, 0xdbabe3abf3adebabULL,
    0x5bd703d113d31bd3ULL, 0x23d32bd533d53bd7ULL, 0x43d74bd953d95bdbULL, 0x63db6bdd73dd7bdfULL,
    0x83df8be193e19be3ULL, 0xa3e3abe5b3e5bbe7ULL, 0xc3e7cbe9d3e9dbebULL, 0xdbebe3edf3edebedULL,
    0x5c17041114131c13ULL, 0x24152c1534173c17ULL, 0x44194c19541b5c1bULL, 0x641d6c1d741f7c1fULL,
    0x84218c2194239c23ULL, 0xa425ac25b427bc27ULL, 0xc429cc29d42bdc2bULL, 0xdc2de42df42fec2dULL,
    0x5c59045314531c55ULL, 0x24552c5734573c59ULL, 0x44594c5b545b5c5dULL, 0x645d6c5f745f7c61ULL,
    0x84618c6394639c65ULL, 0xa465ac67b467bc69ULL, 0xc469cc6bd46bdc6dULL, 0xdc6de46ff46fec6dULL,
    0x5c99049314951c95ULL, 0x24972c9734993c99ULL, 0x449b4c9b549d5c9dULL, 0x649f6c9f74a17ca1ULL,
    0x84a38ca394a59ca5ULL, 0xa4a7aca7b4a9bca9ULL, 0xc4abccabd4addcadULL, 0xdcafe4aff4b1ecafULL,
    0x5cd904d514d51cd7ULL, 0x24d72cd934d93cdbULL, 0x44db4cdd54dd5cdfULL, 0x64df6ce174e17ce3ULL,
    0x84e38ce594e59ce7ULL, 0xa4e7ace9b4e9bcebULL, 0xc4ebccedd4eddcefULL, 0xdcefe4f1f4f1ecefULL,
    0x5d1b051515171d17ULL, 0x25192d19351b3d1bULL, 0x451d4d1d551f5d1fULL, 0x65216d2175237d23ULL,
    0x85258d2595279d27ULL, 0xa529ad29b52bbd2bULL, 0xc52dcd2dd52fdd2fULL, 0xdd31e531f533ed31ULL,
    0x5d5b055715571d59ULL, 0x25592d5b355b3d5dULL, 0x455d4d5f555f5d61ULL, 0x65616d6375637d65ULL,
    0x85658d6795679d69ULL, 0xa569ad6bb56bbd6dULL, 0xc56dcd6fd56fdd71ULL, 0xdd71e573f573ed71ULL,
    0x5d9d059715991d99ULL, 0x259b2d9b359d3d9dULL, 0x459f4d9f55a15da1ULL, 0x65a36da375a57da5ULL,
    0x85a78da795a99da9ULL, 0xa5abadabb5adbdadULL, 0xc5afcdafd5b1ddb1ULL, 0xddb3e5b3f5b5edb3ULL,
    0x5ddd05d915d91ddbULL, 0x25db2ddd35dd3ddfULL, 0x45df4de155e15de3ULL, 0x65e36de575e57de7ULL,
    0x85e78de995e99debULL, 0xa5ebadedb5edbdefULL, 0xc5efcdf1d5f1ddf3ULL, 0xddf3e5f5f5f5edf3ULL,
    0x5e1f0619161b1e1bULL, 0x261d2e1d361f3e1fULL, 0x46214e2156235e23ULL, 0x66256e2576277e27ULL,
    0x86298e29962b9e2bULL, 0xa62dae2db62fbe2fULL, 0xc631ce31d633de33ULL, 0xde35e635f637ee35ULL,
    0x5e5f065b165b1e5dULL, 0x265d2e5f365f3e61ULL, 0x46614e6356635e65ULL, 0x66656e6776677e69ULL,
    0x86698e6b966b9e6dULL, 0xa66dae6fb66fbe71ULL, 0xc671ce73d673de75ULL, 0xde75e677f677ee75ULL,
    0x5ea1069b169d1e9dULL, 0x269f2e9f36a13ea1ULL, 0x46a34ea356a55ea5ULL, 0x66a76ea776a97ea9ULL,
    0x86ab8eab96ad9eadULL, 0xa6afaeafb6b1beb1ULL, 0xc6b3ceb3d6b5deb5ULL, 0xdeb7e6b7f6b9eeb7ULL,
    0x5ee106dd16dd1edfULL, 0x26df2ee136e13ee3ULL, 0x46e34ee556e55ee7ULL, 0x66e76ee976e97eebULL,
    0x86eb8eed96ed9eefULL, 0xa6efaef1b6f1bef3ULL, 0xc6f3cef5d6f5def7ULL, 0xdef7e6f7f6f9eef7ULL,
    0x5ee306dd16df1edfULL, 0x26e12ee136e33ee3ULL, 0x46e54ee556e75ee7ULL, 0x66e96ee976eb7eebULL,
    0x86ed8eed96ef9eefULL, 0xa6f1aef1b6f3bef3ULL, 0xc6f5cef5d6f7def7ULL, 0xdef7e6f9f6fbeef9ULL,
    0x5f23071f171f1f21ULL, 0x27212f2337233f25ULL, 0x47254f2757275f29ULL, 0x67296f2b772b7f2dULL,
    0x872d8f2f972f9f31ULL, 0xa731af33b733bf35ULL, 0xc735cf37d737df37ULL, 0xdf39e739f73bef39ULL,
    0x5fa5079f17a11fa1ULL, 0x27a32fa337a53fa5ULL, 0x47a74fa757a95fa9ULL, 0x67ab6fab77ad7fadULL,
    0x87af8faf97b19fb1ULL, 0xa7b3afb3b7b5bfb5ULL, 0xc7b7cfb7d7b9dfb9ULL, 0xdfbbe7bbf7bdefbbULL,
    0x5f63075f175f1f61ULL, 0x27612f6337633f65ULL, 0x47654f6757675f69ULL, 0x67696f6b776b7f6dULL,
    0x876d8f6d976f9f6fULL, 0xa771af71b773bf73ULL, 0xc775cf75d777df77ULL, 0xdf79e779f77bef79ULL,
};

Vtx quadVertices[] = 
{
    { 0, 0, 0, 0, -16, 1008, 0, 0, 127, 0xff },
    { 1, 0, 0, 0, 1008, 1008, 0, 0, 127, 0xff },
    { 1, 1, 0, 0, 1008, -16, 0, 0, 127, 0xff },
    { 0, 1, 0, 0, -16, -16, 0, 0, 127, 0xff },
};

/*
 * Every part list and the model's list end by restoring the state the next object of the game expects:
 * lighting on, texturing off, lookup table off, a shade-only combiner, the opaque z-buffered render
 * mode, one-cycle mode and alpha compare off.
 */
Gfx quadMaterial_checker[] = 
{
    gsDPPipeSync(),
    gsDPSetCycleType(G_CYC_1CYCLE),
    gsSPSetGeometryMode(G_LIGHTING),
    gsDPSetCombineLERP(TEXEL0, 0, SHADE, 0, 0, 0, 0, SHADE, TEXEL0, 0, SHADE, 0, 0, 0, 0, SHADE),
    gsDPSetRenderMode(G_RM_AA_ZB_OPA_SURF, G_RM_AA_ZB_OPA_SURF2),
    gsSPTexture(0xFFFF, 0xFFFF, 0, G_TX_RENDERTILE, G_ON),
    gsDPSetTextureLUT(G_TT_NONE),
    gsDPLoadTextureBlock(quadTexture_big, G_IM_FMT_RGBA, G_IM_SIZ_16b, 32, 32, 0, G_TX_WRAP | G_TX_NOMIRROR, G_TX_WRAP | G_TX_NOMIRROR, 5, 5, G_TX_NOLOD, G_TX_NOLOD),
    gsDPSetPrimColor(0, 0, 255, 255, 255, 255),
    gsSPEndDisplayList(),
};

Gfx quadMesh_default_checker[] = 
{
    gsSPVertex(&quadVertices[0], 4, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsSP1Triangle(0, 2, 3, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

Gfx quadPart_default[] = 
{
    gsSPDisplayList(quadMaterial_checker),
    gsSPDisplayList(quadMesh_default_checker),
    gsDPPipeSync(),
    gsSPSetGeometryMode(G_LIGHTING),
    gsSPTexture(0xFFFF, 0xFFFF, 0, G_TX_RENDERTILE, G_OFF),
    gsDPSetTextureLUT(G_TT_NONE),
    gsDPSetCombineLERP(0, 0, 0, SHADE, 0, 0, 0, SHADE, 0, 0, 0, SHADE, 0, 0, 0, SHADE),
    gsDPSetRenderMode(G_RM_AA_ZB_OPA_SURF, G_RM_AA_ZB_OPA_SURF2),
    gsDPSetCycleType(G_CYC_1CYCLE),
    gsDPSetAlphaCompare(G_AC_NONE),
    gsSPEndDisplayList(),
};

Gfx quadDisplayList[] = 
{
    gsSPDisplayList(quadMaterial_checker),
    gsSPDisplayList(quadMesh_default_checker),
    gsDPPipeSync(),
    gsSPSetGeometryMode(G_LIGHTING),
    gsSPTexture(0xFFFF, 0xFFFF, 0, G_TX_RENDERTILE, G_OFF),
    gsDPSetTextureLUT(G_TT_NONE),
    gsDPSetCombineLERP(0, 0, 0, SHADE, 0, 0, 0, SHADE, 0, 0, 0, SHADE, 0, 0, 0, SHADE),
    gsDPSetRenderMode(G_RM_AA_ZB_OPA_SURF, G_RM_AA_ZB_OPA_SURF2),
    gsDPSetCycleType(G_CYC_1CYCLE),
    gsDPSetAlphaCompare(G_AC_NONE),
    gsSPEndDisplayList(),
};

model quadModel = { quadVertices, quadDisplayList };

