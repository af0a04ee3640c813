static const unsigned char _ok[] = {
0x78,
};

static const unsigned char _ok_2[] = {
0x78,
};

static const unsigned char _ok_3[] = {
0x78,
};

static const unsigned char _ok_4[] = {
0x78,
};

static const unsigned char _ok_5[] = {
0x78,
};

static const unsigned char _ok_6[] = {
0x78,
};

static const unsigned char _ok_7[] = {
0x78,
};

static const unsigned char _ok_8[] = {
0x78,
};

static const unsigned char _ok_9[] = {
0x78,
};

static const unsigned char _ok_10[] = {
0x78,
};

static const unsigned char _ok_11[] = {
0x78,
};

static const unsigned char _ok_12[] = {
0x78,
};

static const unsigned char _ok_13[] = {
0x78,
};

static const unsigned char _ok_14[] = {
0x78,
};

static const unsigned char _ok_15[] = {
0x78,
};

static const unsigned char _ok_16[] = {
0x78,
};

static const unsigned char _ok_17[] = {
0x78,
};

static const unsigned char _ok_18[] = {
0x78,
};

static const unsigned char _ok_19[] = {
0x78,
};

static const unsigned char _ok_20[] = {
0x78,
};

static const unsigned char _ok_21[] = {
0x78,
};

static const unsigned char _ok_22[] = {
0x78,
};

static const unsigned char _ok_23[] = {
0x78,
};

static const unsigned char _ok_24[] = {
0x78,
};

static const unsigned char _ok_25[] = {
0x78,
};

static const unsigned char _ok_26[] = {
0x78,
};

static const unsigned char _ok_27[] = {
0x78,
};

static const unsigned char _ok_28[] = {
0x78,
};

static const unsigned char _ok_29[] = {
0x78,
};

static const unsigned char _ok_30[] = {
0x78,
};

static const unsigned char _ok_31[] = {
0x78,
};

static const unsigned char _ok_32[] = {
0x78,
};

static const unsigned char _ok_33[] = {
0x78,
};

static const unsigned char _ok_34[] = {
0x78,
};

static const unsigned char _ok_35[] = {
0x78,
};

static const unsigned char _ok_36[] = {
0x78,
};

static const unsigned char _ok_37[] = {
0x78,
};

static const unsigned char _ok_38[] = {
0x78,
};

static const unsigned char _ok_39[] = {
0x78,
};

static const unsigned char _ok_40[] = {
0x78,
};

static const unsigned char _ok_41[] = {
0x78,
};

static const unsigned char _ok_42[] = {
0x78,
};

static const unsigned char _ok_43[] = {
0x78,
};

static const unsigned char _ok_44[] = {
0x78,
};

static const unsigned char _ok_45[] = {
0x78,
};

static const unsigned char _ok_46[] = {
0x78,
};

static const unsigned char _ok_47[] = {
0x78,
};

static const unsigned char _ok_48[] = {
0x78,
};

static const unsigned char _ok_49[] = {
0x78,
};

static const unsigned char _ok_50[] = {
0x78,
};

static const unsigned char _ok_51[] = {
0x78,
};

static const unsigned char _ok_52[] = {
0x78,
};

static const unsigned char _ok_53[] = {
0x78,
};

static const unsigned char _ok_54[] = {
0x78,
};

static const unsigned char _ok_55[] = {
0x78,
};

static const unsigned char _ok_56[] = {
0x78,
};

static const unsigned char _ok_57[] = {
0x78,
};

static const unsigned char _ok_58[] = {
0x78,
};

static const unsigned char _ok_59[] = {
0x78,
};

static const unsigned char _ok_60[] = {
0x78,
};

static const unsigned char _ok_61[] = {
0x78,
};

static const unsigned char _ok_62[] = {
0x78,
};

static const unsigned char _ok_63[] = {
0x78,
};

static const unsigned char _ok_64[] = {
0x78,
};

static const unsigned char _ok_65[] = {
0x78,
};

static const unsigned char _ok_66[] = {
0x78,
};

static const unsigned char _ok_67[] = {
0x78,
};

static const unsigned char _ok_68[] = {
0x78,
};

static const unsigned char _ok_69[] = {
0x78,
};

static const unsigned char _ok_70[] = {
0x78,
};

static const unsigned char _ok_71[] = {
0x78,
};

static const unsigned char _ok_72[] = {
0x78,
};

static const unsigned char _ok_73[] = {
0x78,
};

static const unsigned char _ok_74[] = {
0x78,
};

static const unsigned char _ok_75[] = {
0x78,
};

static const unsigned char _ok_76[] = {
0x78,
};

static const unsigned char _ok_77[] = {
0x78,
};

static const unsigned char _ok_78[] = {
0x78,
};

static const unsigned char _ok_79[] = {
0x78,
};

static const unsigned char _ok_80[] = {
0x78,
};

static const unsigned char _ok_81[] = {
0x78,
};

static const unsigned char _ok_82[] = {
0x78,
};

static const unsigned char _ok_83[] = {
0x78,
};

static const unsigned char _ok_84[] = {
0x78,
};

static const unsigned char _ok_85[] = {
0x78,
};

static const unsigned char _ok_86[] = {
0x78,
};

static const unsigned char _ok_87[] = {
0x78,
};

static const unsigned char _ok_88[] = {
0x78,
};

static const unsigned char _ok_89[] = {
0x78,
};

static const unsigned char _ok_90[] = {
0x78,
};

static const unsigned char _ok_91[] = {
0x78,
};

static const unsigned char _ok_92[] = {
0x78,
};

static const unsigned char _ok_93[] = {
0x78,
};

static const unsigned char _ok_94[] = {
0x78,
};

static const unsigned char _ok_95[] = {
0x78,
};

static const unsigned char _ok_96[] = {
0x78,
};

static const unsigned char _ok_97[] = {
0x78,
};

static const unsigned char _ok_98[] = {
0x78,
};

static const unsigned char _ok_99[] = {
0x78,
};

static const unsigned char _ok_100[] = {
0x78,
};

static const unsigned char _ok_101[] = {
0x78,
};

static const unsigned char _ok_102[] = {
0x78,
};

static const unsigned char _ok_103[] = {
0x78,
};

static const unsigned char _ok_104[] = {
0x78,
};

static const unsigned char _ok_105[] = {
0x78,
};

static const unsigned char _ok_106[] = {
0x78,
};

static const unsigned char _ok_107[] = {
0x78,
};

static const unsigned char _ok_108[] = {
0x78,
};

static const unsigned char _ok_109[] = {
0x78,
};

static const unsigned char _ok_110[] = {
0x78,
};

static const unsigned char _ok_111[] = {
0x78,
};

static const unsigned char _ok_112[] = {
0x78,
};

static const unsigned char _ok_113[] = {
0x78,
};

static const unsigned char _ok_114[] = {
0x78,
};

static const unsigned char _ok_115[] = {
0x78,
};

static const unsigned char _ok_116[] = {
0x78,
};

static const unsigned char _ok_117[] = {
0x78,
};

static const unsigned char _ok_118[] = {
0x78,
};

static const unsigned char _ok_119[] = {
0x78,
};

static const unsigned char _ok_120[] = {
0x78,
};

static const unsigned char _ok_121[] = {
0x78,
};

static const unsigned char _ok_122[] = {
0x78,
};

static const unsigned char _ok_123[] = {
0x78,
};

static const unsigned char _ok_124[] = {
0x78,
};

static const unsigned char _ok_125[] = {
0x78,
};

static const unsigned char _ok_126[] = {
0x78,
};

static const unsigned char _ok_127[] = {
0x78,
};

static const unsigned char _ok_128[] = {
0x78,
};

