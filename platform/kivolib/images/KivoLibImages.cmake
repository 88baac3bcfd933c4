# The library's own pictures: drawn at build time by make_images.py (python3, standard library
# only) into the build tree, and bound into KivoLib.dll by the resource script it writes.
set(KIVOLIB_IMAGE_DIR ${CMAKE_CURRENT_BINARY_DIR}/images)
set(KIVOLIB_IMAGE_FILES
    frame10000.bmp frame10001.bmp frame10002.bmp frame10003.bmp frame10004.bmp frame10005.bmp
    still102.bmp still103.bmp overres150.bmp)
list(TRANSFORM KIVOLIB_IMAGE_FILES PREPEND ${KIVOLIB_IMAGE_DIR}/)
kivo_draw(OUTPUT ${KIVOLIB_IMAGE_DIR}/KivoLibImages.rc ${KIVOLIB_IMAGE_FILES}
          SCRIPT ${CMAKE_CURRENT_LIST_DIR}/make_images.py ARGS ${KIVOLIB_IMAGE_DIR}
          DEPENDS ${CMAKE_CURRENT_LIST_DIR}/raster.py COMMENT "Drawing KivoLib's pictures")
target_sources(KivoLib PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/../ImageFactory.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../KeyedScaler.cpp
    ${KIVOLIB_IMAGE_DIR}/KivoLibImages.rc)
