// The one-byte type codes that head every archived object (signature 0x4B,
// type, version, XOR of the three), and the answers of a peek at the next
// object. The serializers take these names as their own (KSerializer derives
// from KObjectTypes, so KSerializer::ObjectType and KSerializer::IMAGE_BW8 are
// these); the image classes, which sit below the serializers, name them here.
#ifndef LUMORA_OBJECT_TYPE_H
#define LUMORA_OBJECT_TYPE_H

struct KObjectTypes {
    enum ObjectType : int {
        OBJECT_FAILURE = -1,  // the thread's error word says why
        END_OF_STREAM = 0,    // no further object
        IMAGE_BW1 = 33,
        IMAGE_BW8 = 34,
        IMAGE_BW16 = 35,
        IMAGE_BW32 = 36,
        IMAGE_C15 = 37,
        IMAGE_C16 = 38,
        IMAGE_C24 = 39,
        IMAGE_YUY2 = 40,
        IMAGE_C24A = 41,
        IMAGE_SUBPIXEL64 = 42,
        IMAGE_COMPLEX64 = 43,
        IMAGE_RAW32 = 44,
        IMAGE_RAW96 = 45,
        ROI_BW1 = 46,
        ROI_BW8 = 47,
        ROI_BW16 = 48,
        ROI_BW32 = 49,
        ROI_C15 = 50,
        ROI_C16 = 51,
        ROI_C24 = 52,
        ROI_YUY2 = 53,
        ROI_C24A = 54,
        ROI_SUBPIXEL64 = 55,
        ROI_COMPLEX64 = 56,
        ROI_RAW32 = 57,
        ROI_RAW96 = 58,
        JPEG_HANDLER = 59,
    };

};

#endif
