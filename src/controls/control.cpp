// placeholder until the control models land
