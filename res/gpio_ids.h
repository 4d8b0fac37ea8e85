#pragma once
// The GPIO dialog (IDD_GPIO).

// Per pin 1..8: the level and software-function state indicators, the
// direction and output boxes, the firmware and software function lists.
#define IDC_GPIO_STATUS_1               1901
#define IDC_GPIO_STATUS_2               1902
#define IDC_GPIO_STATUS_3               1903
#define IDC_GPIO_STATUS_4               1904
#define IDC_GPIO_STATUS_5               1905
#define IDC_GPIO_STATUS_6               1906
#define IDC_GPIO_STATUS_7               1907
#define IDC_GPIO_STATUS_8               1908
#define IDC_GPIO_SW_STATUS_1            1911
#define IDC_GPIO_SW_STATUS_2            1912
#define IDC_GPIO_SW_STATUS_3            1913
#define IDC_GPIO_SW_STATUS_4            1914
#define IDC_GPIO_SW_STATUS_5            1915
#define IDC_GPIO_SW_STATUS_6            1916
#define IDC_GPIO_SW_STATUS_7            1917
#define IDC_GPIO_SW_STATUS_8            1918
#define IDC_GPIO_DIRECTION_1            1921
#define IDC_GPIO_DIRECTION_2            1922
#define IDC_GPIO_DIRECTION_3            1923
#define IDC_GPIO_DIRECTION_4            1924
#define IDC_GPIO_DIRECTION_5            1925
#define IDC_GPIO_DIRECTION_6            1926
#define IDC_GPIO_DIRECTION_7            1927
#define IDC_GPIO_DIRECTION_8            1928
#define IDC_GPIO_OUTPUT_1               1931
#define IDC_GPIO_OUTPUT_2               1932
#define IDC_GPIO_OUTPUT_3               1933
#define IDC_GPIO_OUTPUT_4               1934
#define IDC_GPIO_OUTPUT_5               1935
#define IDC_GPIO_OUTPUT_6               1936
#define IDC_GPIO_OUTPUT_7               1937
#define IDC_GPIO_OUTPUT_8               1938
#define IDC_GPIO_FIRMWARE_1             1941
#define IDC_GPIO_FIRMWARE_2             1942
#define IDC_GPIO_FIRMWARE_3             1943
#define IDC_GPIO_FIRMWARE_4             1944
#define IDC_GPIO_FIRMWARE_5             1945
#define IDC_GPIO_FIRMWARE_6             1946
#define IDC_GPIO_FIRMWARE_7             1947
#define IDC_GPIO_FIRMWARE_8             1948
#define IDC_GPIO_SOFTWARE_1             1951
#define IDC_GPIO_SOFTWARE_2             1952
#define IDC_GPIO_SOFTWARE_3             1953
#define IDC_GPIO_SOFTWARE_4             1954
#define IDC_GPIO_SOFTWARE_5             1955
#define IDC_GPIO_SOFTWARE_6             1956
#define IDC_GPIO_SOFTWARE_7             1957
#define IDC_GPIO_SOFTWARE_8             1958
#define IDC_GPIO_FIRMWARE_HEADING       1960
#define IDC_GPIO_SOFTWARE_HEADING       1961

// The joystick's active functions.
#define IDC_GPIO_SPEED                  1962
#define IDC_GPIO_AXIS_LOCK              1963
#define IDC_GPIO_Z_TRACK                1964

#define IDC_GPIO_TEST                   1965
#define IDC_GPIO_OK                     1028
